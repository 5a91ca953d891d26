#pragma once

// Icons read from files by the program's own bounded code: an .ico file, or the icon resources
// of a program file (executable or library, 32- or 64-bit). Every offset, count and size is
// checked against the file's length before it is read; only the places named are read, never
// a whole file; and the picture chosen is copied into memory of the program's own and checked
// there, so nothing another process does to the file afterwards reaches the system.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>

#include "platform/icon_image.h"

namespace platform {

// A file, read at checked places.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // The file's length when it was opened.
  virtual std::uint64_t Size() const = 0;
  // Fills out with the bytes at offset; false unless every one of them was read.
  virtual bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
};

// Bytes already in memory, read as a file.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  std::span<const std::uint8_t> bytes_;
};

// Chooses a picture for a size from an icon directory in resource form, as RT_GROUP_ICON holds
// it: a 6-byte header (reserved, type 1, count), then count 14-byte entries, each ending in the
// picture's id. Returns that id; none when nothing fits.
using ChooseIcon =
    std::function<std::optional<std::uint16_t>(std::span<const std::uint8_t> directory, int size)>;

// The substitute platform's choice: the picture nearest in size, then the deepest in colour.
// Windows asks the system's own choice (LookupIconIdFromDirectoryEx) instead.
std::optional<std::uint16_t> ChooseNearest(std::span<const std::uint8_t> directory, int size);

// The picture of an .ico file chosen for size; none when the file, its directory or that
// picture fails a check.
std::optional<IconImage> ReadIcoFile(ByteSource& file, int size, const ChooseIcon& choose);

// The picture for size of a program file's icon: index >= 0 counts the file's icons in the
// order of its resource directory, a negative index names the resource id -index. None when
// the file is no whole program image, has no such icon, or anything on the way fails a check.
std::optional<IconImage> ReadProgramIcon(ByteSource& file, int index, int size,
                                         const ChooseIcon& choose);

}  // namespace platform
