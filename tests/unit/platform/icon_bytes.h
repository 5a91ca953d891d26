#pragma once

// Icon files built byte by byte for the tests: bitmaps and PNG pictures, .ico files, and
// program files (32- and 64-bit) whose resource section holds icon groups and pictures.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace icon_bytes {

using Bytes = std::vector<std::uint8_t>;

// value, little-endian, in width bytes at at (zeros past its four), growing the bytes if needed.
inline void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width) {
  if (bytes.size() < at + width) bytes.resize(at + width);
  for (int i = 0; i < width; ++i) {
    bytes[at + i] = i < 4 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0;
  }
}

inline void Append(Bytes& bytes, const Bytes& more) {
  bytes.insert(bytes.end(), more.begin(), more.end());
}

// A bitmap picture of an icon, side x side, whole: header, colour table, pixels and mask.
inline Bytes Bitmap(int side, int bits, std::uint8_t fill = 0x55) {
  const auto row = [side](int b) { return static_cast<std::size_t>((side * b + 31) / 32 * 4); };
  const std::size_t colours = bits <= 8 ? std::size_t{1} << bits : 0;
  Bytes bytes(40 + colours * 4 + row(bits) * side + row(1) * side, fill);
  Put(bytes, 0, 40, 4);
  Put(bytes, 4, static_cast<std::uint32_t>(side), 4);
  Put(bytes, 8, static_cast<std::uint32_t>(2 * side), 4);
  Put(bytes, 12, 1, 2);
  Put(bytes, 14, static_cast<std::uint32_t>(bits), 2);
  for (std::size_t at = 16; at < 40; ++at) bytes[at] = 0;
  return bytes;
}

inline void PutBigEndian(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

// A PNG file's signature and IHDR chunk (with a CRC left zero), then a little data.
inline Bytes Png(std::uint32_t width, std::uint32_t height) {
  Bytes bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  bytes.resize(bytes.size() + 13 + 4 + 16, 0);
  PutBigEndian(bytes, 16, width);
  PutBigEndian(bytes, 20, height);
  bytes[24] = 8;  // bit depth
  bytes[25] = 6;  // colour type: RGBA
  return bytes;
}

// A directory entry's picture: its size as the entry states it, and its bytes.
struct Picture {
  int side = 16;
  int bits = 32;
  Bytes bytes;
};

inline Picture BitmapPicture(int side, int bits, std::uint8_t fill = 0x55) {
  return {side, bits, Bitmap(side, bits, fill)};
}

// An .ico file: the directory, then the pictures in order.
inline Bytes Ico(const std::vector<Picture>& pictures) {
  Bytes bytes;
  Put(bytes, 0, 0, 2);
  Put(bytes, 2, 1, 2);
  Put(bytes, 4, static_cast<std::uint32_t>(pictures.size()), 2);
  std::size_t offset = 6 + 16 * pictures.size();
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const std::size_t entry = 6 + 16 * i;
    Put(bytes, entry, static_cast<std::uint32_t>(pictures[i].side & 0xFF), 1);
    Put(bytes, entry + 1, static_cast<std::uint32_t>(pictures[i].side & 0xFF), 1);
    Put(bytes, entry + 4, 1, 2);
    Put(bytes, entry + 6, static_cast<std::uint32_t>(pictures[i].bits), 2);
    Put(bytes, entry + 8, static_cast<std::uint32_t>(pictures[i].bytes.size()), 4);
    Put(bytes, entry + 12, static_cast<std::uint32_t>(offset), 4);
    offset += pictures[i].bytes.size();
  }
  for (const Picture& picture : pictures) Append(bytes, picture.bytes);
  return bytes;
}

// A program file's layout: the headers fill the first kRawStart bytes; the one section, at
// kSectionAddress in memory, holds the resource directory, whose root table comes first.
inline constexpr std::size_t kPeAt = 0x80;
inline constexpr std::size_t kRawStart = 0x200;
inline constexpr std::uint32_t kSectionAddress = 0x1000;
inline constexpr std::size_t kRootAt = kRawStart;
inline constexpr std::size_t kRootIdCountAt = kRootAt + 14;
// The root's entries, in id order: RT_ICON (3), then RT_GROUP_ICON (14).
inline constexpr std::size_t kRootGroupEntryAt = kRootAt + 16 + 8;
inline constexpr std::size_t kOptionalHeaderAt = kPeAt + 24;

struct Group {
  std::uint16_t id = 0;
  std::vector<std::pair<std::uint16_t, Picture>> pictures;  // each with its RT_ICON id
};

// The resource section: the root table, the type tables, each resource's language table and
// data entry, then the data. Offsets in tables count from the section's start.
class ResourceSection {
 public:
  explicit ResourceSection(const std::vector<Group>& groups) {
    for (const Group& group : groups) {
      Bytes directory;
      Put(directory, 0, 0, 2);
      Put(directory, 2, 1, 2);
      Put(directory, 4, static_cast<std::uint32_t>(group.pictures.size()), 2);
      for (std::size_t i = 0; i < group.pictures.size(); ++i) {
        const auto& [id, picture] = group.pictures[i];
        const std::size_t entry = 6 + 14 * i;
        Put(directory, entry, static_cast<std::uint32_t>(picture.side & 0xFF), 1);
        Put(directory, entry + 1, static_cast<std::uint32_t>(picture.side & 0xFF), 1);
        Put(directory, entry + 4, 1, 2);
        Put(directory, entry + 6, static_cast<std::uint32_t>(picture.bits), 2);
        Put(directory, entry + 8, static_cast<std::uint32_t>(picture.bytes.size()), 4);
        Put(directory, entry + 12, id, 2);
        icons_[id] = picture.bytes;
      }
      groups_.emplace_back(group.id, directory);
    }
  }

  Bytes Build() const {
    // Tables first: root, RT_ICON's, RT_GROUP_ICON's, one language table per resource, then
    // the data entries and the data.
    const std::size_t root = 16 + 2 * 8;
    const std::size_t icon_table = 16 + 8 * icons_.size();
    const std::size_t group_table = 16 + 8 * groups_.size();
    const std::size_t resources = icons_.size() + groups_.size();
    const std::size_t languages_at = root + icon_table + group_table;
    const std::size_t entries_at = languages_at + resources * (16 + 8);
    std::size_t data_at = entries_at + resources * 16;
    Bytes bytes;
    Table(bytes, 0, {{3, Sub(root)}, {14, Sub(root + icon_table)}});
    std::vector<std::pair<std::uint32_t, std::uint32_t>> icon_rows;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> group_rows;
    std::vector<const Bytes*> data;
    std::size_t n = 0;
    for (const auto& [id, picture] : icons_) {
      icon_rows.push_back({id, Sub(languages_at + n * 24)});
      data.push_back(&picture);
      ++n;
    }
    for (const auto& [id, directory] : groups_) {
      group_rows.push_back({id, Sub(languages_at + n * 24)});
      data.push_back(&directory);
      ++n;
    }
    Table(bytes, root, icon_rows);
    Table(bytes, root + icon_table, group_rows);
    for (std::size_t i = 0; i < data.size(); ++i) {
      Table(bytes, languages_at + i * 24,
            {{0x409, static_cast<std::uint32_t>(entries_at + i * 16)}});
      Put(bytes, entries_at + i * 16, static_cast<std::uint32_t>(kSectionAddress + data_at), 4);
      Put(bytes, entries_at + i * 16 + 4, static_cast<std::uint32_t>(data[i]->size()), 4);
      Put(bytes, entries_at + i * 16 + 8, 0, 8);
      bytes.resize(data_at);
      Append(bytes, *data[i]);
      data_at = (bytes.size() + 3) / 4 * 4;
    }
    bytes.resize((bytes.size() + 0x1FF) / 0x200 * 0x200, 0);
    return bytes;
  }

 private:
  static std::uint32_t Sub(std::size_t offset) {
    return 0x80000000u | static_cast<std::uint32_t>(offset);
  }
  static void Table(Bytes& bytes, std::size_t at,
                    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& rows) {
    Put(bytes, at, 0, 12);
    Put(bytes, at + 12, 0, 2);
    Put(bytes, at + 14, static_cast<std::uint32_t>(rows.size()), 2);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      Put(bytes, at + 16 + 8 * i, rows[i].first, 4);
      Put(bytes, at + 16 + 8 * i + 4, rows[i].second, 4);
    }
  }

  std::map<std::uint16_t, Bytes> icons_;
  std::vector<std::pair<std::uint16_t, Bytes>> groups_;
};

// A program file, 32-bit or 64-bit, with one section: its resources.
inline Bytes Program(bool wide, const std::vector<Group>& groups) {
  const Bytes section = ResourceSection(groups).Build();
  const std::uint32_t optional_size = wide ? 0xF0 : 0xE0;
  const std::size_t directories = kOptionalHeaderAt + (wide ? 112 : 96);
  Bytes bytes(kRawStart, 0);
  Put(bytes, 0, 0x5A4D, 2);
  Put(bytes, 0x3C, kPeAt, 4);
  Put(bytes, kPeAt, 0x00004550, 4);
  Put(bytes, kPeAt + 4, wide ? 0x8664 : 0x14C, 2);
  Put(bytes, kPeAt + 6, 1, 2);
  Put(bytes, kPeAt + 20, optional_size, 2);
  Put(bytes, kOptionalHeaderAt, wide ? 0x20B : 0x10B, 2);
  Put(bytes, kOptionalHeaderAt + 60, kRawStart, 4);
  Put(bytes, directories - 4, 16, 4);
  Put(bytes, directories + 16, kSectionAddress, 4);
  Put(bytes, directories + 20, static_cast<std::uint32_t>(section.size()), 4);
  const std::size_t header = kOptionalHeaderAt + optional_size;
  const char name[8] = ".rsrc";
  for (std::size_t i = 0; i < sizeof(name); ++i)
    bytes[header + i] = static_cast<std::uint8_t>(name[i]);
  Put(bytes, header + 8, static_cast<std::uint32_t>(section.size()), 4);
  Put(bytes, header + 12, kSectionAddress, 4);
  Put(bytes, header + 16, static_cast<std::uint32_t>(section.size()), 4);
  Put(bytes, header + 20, kRawStart, 4);
  Append(bytes, section);
  return bytes;
}

}  // namespace icon_bytes
