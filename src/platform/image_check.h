#pragma once

// Whether a program file is whole: the shell's icon extraction reads resources where the
// file's headers say they are, and under Wine it reads past the end of a truncated file and
// crashes. So a file goes to it only when every section its headers name lies within it.

#include <cstddef>
#include <cstdint>
#include <span>

namespace platform {

// How much of a file's beginning HoldsWholeImage needs at most: the DOS header, the PE headers
// and the section table of any sane image.
inline constexpr std::size_t kImageHeadBytes = 64 * 1024;

// head: the file's first bytes (up to kImageHeadBytes); file_size: its whole size. True for a
// PE image (executable or library) whose headers and sections all lie within the file.
bool HoldsWholeImage(std::span<const std::uint8_t> head, std::uint64_t file_size);

}  // namespace platform
