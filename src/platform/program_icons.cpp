// The icon resources of a program file: its headers give the sections and the resource
// directory's place; the directory's three levels (type, name or id, language) lead to the
// icon group, whose chosen picture is the RT_ICON resource of that id.

#include <algorithm>
#include <vector>

#include "platform/icon_file.h"
#include "platform/icon_file_parts.h"
#include "platform/image_check.h"
#include "platform/le_bytes.h"

namespace platform {
namespace {

using icon_file::IconCount;
using icon_file::kDirectoryHeaderBytes;
using icon_file::kGroupEntryBytes;
using icon_file::ReadBlock;
using icon_file::ReadPicture;

constexpr std::size_t kNewHeaderOffsetAt = 0x3C;  // e_lfanew
constexpr std::size_t kFileHeaderAt = 4;          // after "PE\0\0"
constexpr std::size_t kSectionCountAt = 2;        // in the file header
constexpr std::size_t kOptionalSizeAt = 16;
constexpr std::size_t kOptionalHeaderAt = kFileHeaderAt + 20;
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
// Where the data directories' count and the directories start: the optional header's fields
// before them are four bytes longer in the 64-bit form.
constexpr std::size_t kDirectoryCountAt32 = 92;
constexpr std::size_t kDirectoryCountAt64 = 108;
constexpr std::size_t kDataDirectoryBytes = 8;
constexpr std::uint32_t kResourceDirectory = 2;
constexpr std::size_t kSectionBytes = 40;
constexpr std::size_t kVirtualAddressAt = 12;  // in a section header
constexpr std::size_t kRawSizeAt = 16;
constexpr std::size_t kRawPointerAt = 20;

// The resource directory's tables: a 16-byte header ending in the counts of named and of
// numbered entries, then 8-byte entries (name or id, then the data's or subdirectory's offset).
constexpr std::size_t kTableHeaderBytes = 16;
constexpr std::size_t kNamedCountAt = 12;
constexpr std::size_t kIdCountAt = 14;
constexpr std::size_t kEntryBytes = 8;
constexpr std::uint32_t kHighBit = 0x80000000u;  // a name (not an id); a subdirectory
constexpr std::size_t kDataEntryBytes = 16;      // the data's RVA and size, code page, reserved
constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::size_t kLargestGroup = kDirectoryHeaderBytes + 0xFFFF * kGroupEntryBytes;
constexpr std::uint32_t kLargestId = 0xFFFF;

struct Section {
  std::uint32_t address = 0;
  std::uint32_t raw_size = 0;
  std::uint32_t raw_pointer = 0;
};

// A place in the file: where a range of the image's addresses lies.
struct Extent {
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

struct Image {
  std::vector<Section> sections;
  std::uint32_t resource_address = 0;
  std::uint32_t resource_size = 0;

  // The file's bytes of length bytes at that address, when one section holds them all.
  std::optional<Extent> Map(std::uint32_t address, std::uint64_t length) const {
    for (const Section& section : sections) {
      if (address < section.address || address - section.address >= section.raw_size) continue;
      const std::uint32_t into = address - section.address;
      if (section.raw_size - into < length) return std::nullopt;
      return Extent{std::uint64_t{section.raw_pointer} + into, length};
    }
    return std::nullopt;
  }
};

std::optional<Image> ReadHeaders(ByteSource& file) {
  const auto head =
      ReadBlock(file, 0, std::min<std::uint64_t>(file.Size(), kImageHeadBytes), kImageHeadBytes);
  if (!head || !HoldsWholeImage(*head, file.Size())) return std::nullopt;
  const LittleEndian read(*head);
  const std::uint64_t pe = read.U32(kNewHeaderOffsetAt).value_or(0);
  const auto sections = read.U16(pe + kFileHeaderAt + kSectionCountAt);
  const auto optional_size = read.U16(pe + kFileHeaderAt + kOptionalSizeAt);
  const std::uint64_t optional = pe + kOptionalHeaderAt;
  const auto magic = read.U16(optional);
  if (!sections || !optional_size || !magic) return std::nullopt;
  if (*magic != kPe32Magic && *magic != kPe32PlusMagic) return std::nullopt;
  const std::size_t count_at = *magic == kPe32Magic ? kDirectoryCountAt32 : kDirectoryCountAt64;
  const std::size_t resource_at = count_at + 4 + kResourceDirectory * kDataDirectoryBytes;
  const auto directories = read.U32(optional + count_at);
  if (!directories || *directories <= kResourceDirectory ||
      resource_at + kDataDirectoryBytes > *optional_size) {
    return std::nullopt;
  }
  Image image;
  image.resource_address = read.U32(optional + resource_at).value_or(0);
  image.resource_size = read.U32(optional + resource_at + 4).value_or(0);
  if (image.resource_address == 0 || image.resource_size == 0) return std::nullopt;
  const std::uint64_t table = optional + *optional_size;
  for (std::uint64_t i = 0; i < *sections; ++i) {
    const std::uint64_t at = table + i * kSectionBytes;
    const auto address = read.U32(at + kVirtualAddressAt);
    const auto raw_size = read.U32(at + kRawSizeAt);
    const auto raw_pointer = read.U32(at + kRawPointerAt);
    if (!address || !raw_size || !raw_pointer) return std::nullopt;
    image.sections.push_back({*address, *raw_size, *raw_pointer});
  }
  return image;
}

struct TableEntry {
  std::uint32_t name = 0;    // an id unless kHighBit is set
  std::uint32_t target = 0;  // a subdirectory's offset when kHighBit is set, else a data entry's
  bool HasId(std::uint32_t id) const { return (name & kHighBit) == 0 && name == id; }
  bool IsTable() const { return (target & kHighBit) != 0; }
  std::uint32_t Offset() const { return target & ~kHighBit; }
};

// The resource directory, read where its offsets say, each read within it.
class Resources {
 public:
  Resources(ByteSource& file, const Image& image, Extent area)
      : file_(file), image_(image), area_(area) {}

  // The entries of the table at that offset of the directory.
  std::optional<std::vector<TableEntry>> Table(std::uint32_t offset) const {
    const auto header = Read(offset, kTableHeaderBytes);
    if (!header) return std::nullopt;
    const LittleEndian head(*header);
    const std::uint64_t count =
        head.U16(kNamedCountAt).value_or(0) + std::uint64_t{head.U16(kIdCountAt).value_or(0)};
    const auto bytes = Read(std::uint64_t{offset} + kTableHeaderBytes, count * kEntryBytes);
    if (!bytes) return std::nullopt;
    const LittleEndian read(*bytes);
    std::vector<TableEntry> entries(count);
    for (std::size_t i = 0; i < count; ++i) {
      entries[i] = {read.U32(i * kEntryBytes).value_or(0),
                    read.U32(i * kEntryBytes + 4).value_or(0)};
    }
    return entries;
  }

  // Where the data of the resource under that subdirectory (of languages) lies: its first
  // language's, as the system's own lookup takes when none is asked for.
  std::optional<Extent> Data(const TableEntry& named) const {
    if (!named.IsTable()) return std::nullopt;
    const auto languages = Table(named.Offset());
    if (!languages || languages->empty() || languages->front().IsTable()) return std::nullopt;
    const auto entry = Read(languages->front().Offset(), kDataEntryBytes);
    if (!entry) return std::nullopt;
    const LittleEndian read(*entry);
    return image_.Map(read.U32(0).value_or(0), read.U32(4).value_or(0));
  }

  // The subdirectory of one resource type.
  std::optional<std::vector<TableEntry>> OfType(std::uint32_t type) const {
    const auto root = Table(0);
    if (!root) return std::nullopt;
    const auto it = std::find_if(root->begin(), root->end(),
                                 [type](const TableEntry& e) { return e.HasId(type); });
    if (it == root->end() || !it->IsTable()) return std::nullopt;
    return Table(it->Offset());
  }

 private:
  std::optional<std::vector<std::uint8_t>> Read(std::uint64_t offset, std::uint64_t length) const {
    if (offset > area_.length || area_.length - offset < length) return std::nullopt;
    return ReadBlock(file_, area_.offset + offset, length, area_.length);
  }

  ByteSource& file_;
  const Image& image_;
  Extent area_;
};

std::optional<TableEntry> WithId(const std::vector<TableEntry>& entries, std::uint32_t id) {
  const auto it = std::find_if(entries.begin(), entries.end(),
                               [id](const TableEntry& e) { return e.HasId(id); });
  if (it == entries.end()) return std::nullopt;
  return *it;
}

// The group that index names: by place, or by id when negative.
std::optional<TableEntry> GroupAt(const std::vector<TableEntry>& groups, int index) {
  if (index >= 0) {
    if (static_cast<std::size_t>(index) >= groups.size()) return std::nullopt;
    return groups[static_cast<std::size_t>(index)];
  }
  const std::int64_t id = -static_cast<std::int64_t>(index);
  if (id > kLargestId) return std::nullopt;
  return WithId(groups, static_cast<std::uint32_t>(id));
}

}  // namespace

std::optional<IconImage> ReadProgramIcon(ByteSource& file, int index, int size,
                                         const ChooseIcon& choose) {
  const auto image = ReadHeaders(file);
  if (!image) return std::nullopt;
  const auto area = image->Map(image->resource_address, image->resource_size);
  if (!area) return std::nullopt;
  const Resources resources(file, *image, *area);
  const auto groups = resources.OfType(kRtGroupIcon);
  if (!groups) return std::nullopt;
  const auto group = GroupAt(*groups, index);
  if (!group) return std::nullopt;
  const auto group_data = resources.Data(*group);
  if (!group_data) return std::nullopt;
  const auto directory = ReadBlock(file, group_data->offset, group_data->length, kLargestGroup);
  if (!directory) return std::nullopt;
  const auto count = IconCount(*directory);
  const std::size_t used =
      kDirectoryHeaderBytes + std::size_t{count.value_or(0)} * kGroupEntryBytes;
  if (!count || used > directory->size()) return std::nullopt;
  // The choice sees exactly the entries checked to be there.
  const auto id = choose(std::span(*directory).first(used), size);
  if (!id) return std::nullopt;
  const auto pictures = resources.OfType(kRtIcon);
  if (!pictures) return std::nullopt;
  const auto picture = WithId(*pictures, *id);
  if (!picture) return std::nullopt;
  const auto picture_data = resources.Data(*picture);
  if (!picture_data) return std::nullopt;
  return ReadPicture(file, picture_data->offset, picture_data->length);
}

}  // namespace platform
