#pragma once

// The target of a shortcut file (.lnk), read from its bytes alone. A shortcut found in a Start
// menu or on a desktop may have been written by anyone, so the whole file is walked with every
// size and offset checked against what holds it, and a file that does not hold together has no
// target. Only the path Windows would open is read: from the environment-variable block when the
// shortcut says it has one, else from the link information's local path. A target that only the
// list of shell items names is not decoded, so such a shortcut has none.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace app {

// No shortcut is read past this size: Windows writes them in a few kilobytes, and the largest
// item list and data blocks it could write stay far below.
inline constexpr std::size_t kMaxShortcutFileBytes = std::size_t{1} << 20;

struct ShortcutTarget {
  // The target's path, as the program holds the system's text (WTF-8): a surrogate without its
  // partner is kept, so the path names the same file when given back to Windows. Never empty,
  // and short enough for MAX_PATH.
  std::string path;
  // The path holds %NAME% references to environment variables, not yet expanded.
  bool needs_expanding = false;

  bool operator==(const ShortcutTarget&) const = default;
};

// The shortcut's target, or nothing when the file is no shortcut, is cut short, breaks any of
// the format's bounds, or names its target in a way this reader does not trust.
std::optional<ShortcutTarget> ReadShortcutTarget(std::span<const std::uint8_t> file);

}  // namespace app
