#pragma once

// What the growth tests count of their own process: what the system reports, and witnesses
// counted from outside those counters (Wine reports nothing): kernel handles, menus, windows,
// GDI objects, private pages and heap bytes.

#include <windows.h>

#include <array>
#include <cstddef>
#include <string_view>

namespace win32_test {

struct Figure {
  const char* label;
  SIZE_T (*read)();
  SIZE_T allowance;  // how far it may end above its start
};

inline constexpr std::size_t kFigureCount = 10;
extern const Figure kFigures[kFigureCount];
using Readings = std::array<SIZE_T, kFigureCount>;

// Every figure, read now.
Readings Measure();
// The figure with that label; throws std::invalid_argument for none.
const Figure& FigureNamed(std::string_view label);

}  // namespace win32_test
