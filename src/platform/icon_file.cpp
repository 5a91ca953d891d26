#include "platform/icon_file.h"

#include <algorithm>
#include <cstdlib>

#include "platform/icon_file_parts.h"
#include "platform/le_bytes.h"

namespace platform {
namespace icon_file {

std::optional<std::vector<std::uint8_t>> ReadBlock(ByteSource& file, std::uint64_t offset,
                                                   std::uint64_t length, std::uint64_t limit) {
  const std::uint64_t size = file.Size();
  if (length > limit || offset > size || size - offset < length) return std::nullopt;
  std::vector<std::uint8_t> block(static_cast<std::size_t>(length));
  if (!file.ReadAt(offset, block)) return std::nullopt;
  return block;
}

std::optional<std::uint16_t> IconCount(std::span<const std::uint8_t> header) {
  const LittleEndian read(header);
  const auto count = read.U16(kDirectoryCountAt);
  if (read.U16(0) != 0 || read.U16(2) != kIconType || !count || *count == 0) return std::nullopt;
  return static_cast<std::uint16_t>(*count);
}

std::optional<IconImage> ReadPicture(ByteSource& file, std::uint64_t offset, std::uint64_t length) {
  const std::uint64_t size = file.Size();
  if (length == 0 || length > kLargestImageBytes || offset > size || size - offset < length) {
    return std::nullopt;
  }
  IconImage image(static_cast<std::size_t>(length));
  if (!file.ReadAt(offset, image.Bytes()) || !IsSoundIconImage(image.Bytes())) return std::nullopt;
  return image;
}

}  // namespace icon_file

namespace {

using icon_file::IconCount;
using icon_file::kDirectoryCountAt;
using icon_file::kDirectoryHeaderBytes;
using icon_file::kGroupEntryBytes;
using icon_file::kGroupIdAt;
using icon_file::kIconType;
using icon_file::ReadBlock;
using icon_file::ReadPicture;

// An .ico file's entries: as in resource form, but 16 bytes, ending in the picture's offset
// instead of an id.
constexpr std::size_t kFileEntryBytes = 16;
constexpr std::size_t kBytesAt = 8;
constexpr std::size_t kOffsetAt = 12;
constexpr std::size_t kLargestIcoDirectory = kDirectoryHeaderBytes + 0xFFFF * kFileEntryBytes;
constexpr std::size_t kBitCountAt = 6;    // in either kind of entry
constexpr int kLargestSideInEntry = 256;  // an entry's 0 means 256

int Side(std::uint32_t byte) {
  return byte == 0 ? kLargestSideInEntry : static_cast<int>(byte);
}

struct FilePicture {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

}  // namespace

bool MemorySource::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  if (offset > bytes_.size() || bytes_.size() - offset < out.size()) return false;
  std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
  return true;
}

std::optional<std::uint16_t> ChooseNearest(std::span<const std::uint8_t> directory, int size) {
  const LittleEndian read(directory);
  const auto count = IconCount(directory);
  if (!count) return std::nullopt;
  std::optional<std::uint16_t> best;
  int best_distance = 0;
  std::uint32_t best_bits = 0;
  for (std::size_t i = 0; i < *count; ++i) {
    const std::size_t entry = kDirectoryHeaderBytes + i * kGroupEntryBytes;
    const auto width = read.U8(entry);
    const auto height = read.U8(entry + 1);
    const auto bits = read.U16(entry + kBitCountAt);
    const auto id = read.U16(entry + kGroupIdAt);
    if (!width || !height || !bits || !id) return std::nullopt;  // a cut directory
    const int distance = std::abs(Side(*width) - size) + std::abs(Side(*height) - size);
    if (!best || distance < best_distance || (distance == best_distance && *bits > best_bits)) {
      best = static_cast<std::uint16_t>(*id);
      best_distance = distance;
      best_bits = *bits;
    }
  }
  return best;
}

std::optional<IconImage> ReadIcoFile(ByteSource& file, int size, const ChooseIcon& choose) {
  const auto header = ReadBlock(file, 0, kDirectoryHeaderBytes, kDirectoryHeaderBytes);
  if (!header) return std::nullopt;
  const auto count = IconCount(*header);
  if (!count) return std::nullopt;
  const auto entries =
      ReadBlock(file, kDirectoryHeaderBytes, *count * kFileEntryBytes, kLargestIcoDirectory);
  if (!entries) return std::nullopt;
  // The resource form of the entries whose pictures lie within the file; each gets its place
  // in the list as its id, from 1.
  const LittleEndian read(*entries);
  std::vector<std::uint8_t> directory(kDirectoryHeaderBytes);
  std::vector<FilePicture> pictures;
  const std::uint64_t file_size = file.Size();
  for (std::size_t i = 0; i < *count; ++i) {
    const std::size_t entry = i * kFileEntryBytes;
    const std::uint64_t length = read.U32(entry + kBytesAt).value_or(0);
    const std::uint64_t offset = read.U32(entry + kOffsetAt).value_or(0);
    if (length == 0 || length > kLargestImageBytes || offset > file_size ||
        file_size - offset < length) {
      continue;
    }
    pictures.push_back({offset, length});
    const auto first = entries->begin() + static_cast<std::ptrdiff_t>(entry);
    directory.insert(directory.end(), first, first + kGroupIdAt);
    const auto id = static_cast<std::uint16_t>(pictures.size());
    directory.push_back(static_cast<std::uint8_t>(id));
    directory.push_back(static_cast<std::uint8_t>(id >> 8));
  }
  if (pictures.empty()) return std::nullopt;
  directory[2] = kIconType;
  directory[kDirectoryCountAt] = static_cast<std::uint8_t>(pictures.size());
  directory[kDirectoryCountAt + 1] = static_cast<std::uint8_t>(pictures.size() >> 8);
  const auto id = choose(directory, size);
  if (!id || *id == 0 || *id > pictures.size()) return std::nullopt;
  const FilePicture& chosen = pictures[*id - 1u];
  return ReadPicture(file, chosen.offset, chosen.length);
}

}  // namespace platform
