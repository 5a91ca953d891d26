#pragma once

// What the .ico reader and the program file reader share: checked reads, the resource form of
// an icon directory, and the picture's private, checked copy.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/icon_file.h"

namespace platform::icon_file {

// An icon directory in resource form: a header of reserved, type and count, then entries of
// width, height, colours, reserved, planes, bits per pixel, bytes and id.
inline constexpr std::size_t kDirectoryHeaderBytes = 6;
inline constexpr std::size_t kDirectoryCountAt = 4;
inline constexpr std::uint16_t kIconType = 1;
inline constexpr std::size_t kGroupEntryBytes = 14;
inline constexpr std::size_t kGroupIdAt = 12;

// length bytes at offset, when they lie within the file and length is at most limit.
std::optional<std::vector<std::uint8_t>> ReadBlock(ByteSource& file, std::uint64_t offset,
                                                   std::uint64_t length, std::uint64_t limit);

// The number of entries a directory's header announces, when it is an icon directory.
std::optional<std::uint16_t> IconCount(std::span<const std::uint8_t> header);

// The picture of length bytes at offset, copied and checked.
std::optional<IconImage> ReadPicture(ByteSource& file, std::uint64_t offset, std::uint64_t length);

}  // namespace platform::icon_file
