// The icon reader's bounds: .ico files and program files built byte by byte, whole and with
// each of their counts, offsets and sizes made to lie; and the checks on the chosen picture.

#include "platform/icon_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>

#include "icon_bytes.h"
#include "platform/image_check.h"

namespace {

using icon_bytes::Bitmap;
using icon_bytes::BitmapPicture;
using icon_bytes::Bytes;
using icon_bytes::Group;
using icon_bytes::Ico;
using icon_bytes::Png;
using icon_bytes::Program;
using icon_bytes::Put;

// A file that counts what is read of it.
class CountingSource : public platform::MemorySource {
 public:
  explicit CountingSource(const Bytes& bytes) : MemorySource(bytes) {}
  bool ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    read_ += out.size();
    return MemorySource::ReadAt(offset, out);
  }
  std::uint64_t read() const { return read_; }

 private:
  std::uint64_t read_ = 0;
};

Bytes Copy(const std::optional<platform::IconImage>& image) {
  if (!image) return {};
  return Bytes(image->Bytes().begin(), image->Bytes().end());
}

Bytes WithValue(Bytes bytes, std::size_t at, std::uint32_t value, int width) {
  Put(bytes, at, value, width);
  return bytes;
}

// The bytes cut to length, or grown with zeros.
Bytes Cut(Bytes bytes, std::size_t length) {
  bytes.resize(length);
  return bytes;
}

TEST(IconImage, OnlyPicturesWhoseEveryPartLiesWithinThemPass) {
  const Bytes sound = Bitmap(16, 32);
  const Bytes four = Bitmap(16, 4);
  const struct {
    const char* name;
    Bytes image;
    bool sound;
  } rows[] = {
      {"32 bits", sound, true},
      {"4 bits with its 16 colours", four, true},
      {"1 bit", Bitmap(32, 1), true},
      {"24 bits, 256 wide", Bitmap(256, 24), true},
      {"8 bits using 256 colours", WithValue(Bitmap(16, 8), 32, 256, 4), true},
      {"4 bits using 17 colours", WithValue(four, 32, 17, 4), false},
      {"4 bits using 17 colours, with room for them",
       WithValue(Cut(four, four.size() + 4), 32, 17, 4), false},
      {"4 bits using 3 colours, table shorter",
       WithValue(Cut(four, four.size() - 13 * 4), 32, 3, 4), true},
      {"cut by one byte", Cut(sound, sound.size() - 1), false},
      // No colour count: the whole table of 16 is there all the same, and counted.
      {"4 bits cut by one byte", Cut(four, four.size() - 1), false},
      {"cut inside the header", Cut(sound, 39), false},
      {"a core header", WithValue(sound, 0, 12, 4), false},
      {"a larger header", WithValue(sound, 0, 124, 4), false},
      {"no width", WithValue(sound, 4, 0, 4), false},
      {"257 wide", WithValue(sound, 4, 257, 4), false},
      {"2^31-1 wide and 2^30 high",
       WithValue(WithValue(sound, 4, 0x7FFFFFFF, 4), 8, 0x80000000u, 4), false},
      {"negative width", WithValue(sound, 4, 0xFFFFFFF0u, 4), false},
      {"height not doubled for the mask", WithValue(sound, 8, 17, 4), false},
      {"top-down", WithValue(sound, 8, static_cast<std::uint32_t>(-32), 4), false},
      {"two planes", WithValue(sound, 12, 2, 2), false},
      {"0 bits per pixel", WithValue(sound, 14, 0, 2), false},
      {"7 bits per pixel", WithValue(sound, 14, 7, 2), false},
      {"run-length compressed", WithValue(sound, 16, 1, 4), false},
      {"bit fields at 32 bits with room for the masks",
       WithValue(Cut(sound, sound.size() + 12), 16, 3, 4), true},
      {"bit fields at 32 bits without room for the masks", WithValue(sound, 16, 3, 4), false},
      {"bit fields at 24 bits", WithValue(Bitmap(16, 24), 16, 3, 4), false},
      {"bit fields at 24 bits with room for the masks",
       WithValue(Cut(Bitmap(16, 24), Bitmap(16, 24).size() + 12), 16, 3, 4), false},
      {"bit fields at 8 bits", WithValue(Bitmap(16, 8), 16, 3, 4), false},
      {"PNG", Png(256, 256), true},
      {"PNG 257 wide", Png(257, 16), false},
      {"PNG of no height", Png(16, 0), false},
      {"PNG cut inside IHDR", Cut(Png(16, 16), 24), false},
      {"PNG whose first chunk is no IHDR", WithValue(Png(16, 16), 12, 0x54414449, 4), false},
      {"PNG whose IHDR is too long", WithValue(Png(16, 16), 8, 0x0E000000, 4), false},
      {"empty", {}, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(platform::IsSoundIconImage(row.image), row.sound) << row.name;
  }
}

// Picks the entry of that place, whatever the size; nothing for 0.
platform::ChooseIcon ChooseId(std::uint16_t id) {
  return [id](std::span<const std::uint8_t>, int) -> std::optional<std::uint16_t> {
    if (id == 0) return std::nullopt;
    return id;
  };
}

TEST(IcoFile, TheChosenPictureComesBackOnlyWhenTheFileHoldsIt) {
  const icon_bytes::Picture small = BitmapPicture(16, 32, 0x11);
  const icon_bytes::Picture large = BitmapPicture(32, 32, 0x22);
  const Bytes two = Ico({small, large});
  const std::size_t second_entry = 6 + 16;
  const Bytes lying =
      WithValue(WithValue(Ico({small}), 6 + 16 + 4, 0x7FFFFFFF, 4), 6 + 16 + 8, 0x80000000u, 4);
  const struct {
    const char* name;
    Bytes file;
    int size;
    platform::ChooseIcon choose;
    Bytes picture;  // empty: none
  } rows[] = {
      {"16 of two, by size", two, 16, platform::ChooseNearest, small.bytes},
      {"32 of two, by size", two, 32, platform::ChooseNearest, large.bytes},
      {"24 goes to the nearer", two, 26, platform::ChooseNearest, large.bytes},
      {"of one size, the most colours",
       Ico({BitmapPicture(16, 8), BitmapPicture(16, 32, 0x66), BitmapPicture(16, 4)}), 16,
       platform::ChooseNearest, Bitmap(16, 32, 0x66)},
      {"a PNG picture", Ico({{48, 32, Png(48, 48)}}), 48, platform::ChooseNearest, Png(48, 48)},
      {"the choice falls on none", two, 16, ChooseId(0), {}},
      {"the choice names no entry", two, 16, ChooseId(3), {}},
      {"not an icon directory", WithValue(two, 2, 2, 2), 16, platform::ChooseNearest, {}},
      {"reserved field set", WithValue(two, 0, 1, 2), 16, platform::ChooseNearest, {}},
      {"no pictures", Cut(WithValue(two, 4, 0, 2), 6), 16, platform::ChooseNearest, {}},
      {"claims 65,535 pictures", WithValue(two, 4, 0xFFFF, 2), 16, platform::ChooseNearest, {}},
      {"directory cut", Cut(two, 20), 16, platform::ChooseNearest, {}},
      {"a picture past the end is left out", WithValue(two, second_entry + 12, 0xFFFFFFF0u, 4), 32,
       platform::ChooseNearest, small.bytes},
      {"a picture longer than the file is left out", WithValue(two, second_entry + 8, 0x10000, 4),
       32, platform::ChooseNearest, small.bytes},
      {"a picture beyond the largest is left out",
       WithValue(two, second_entry + 8, platform::kLargestImageBytes + 1, 4), 32,
       platform::ChooseNearest, small.bytes},
      {"an empty picture is left out", WithValue(two, second_entry + 8, 0, 4), 32,
       platform::ChooseNearest, small.bytes},
      {"file cut inside the last picture", Cut(two, two.size() - 1), 32, ChooseId(2), {}},
      {"the lying 2^31-1 x 2^30 bitmap", lying, 16, platform::ChooseNearest, {}},
      {"a picture of 0 bits per pixel",
       WithValue(Ico({small}), 6 + 16 + 14, 0, 2),
       16,
       platform::ChooseNearest,
       {}},
      {"empty", {}, 16, platform::ChooseNearest, {}},
  };
  for (const auto& row : rows) {
    platform::MemorySource file(row.file);
    EXPECT_EQ(Copy(platform::ReadIcoFile(file, row.size, row.choose)), row.picture) << row.name;
  }
}

// Resource ids of a program file's two groups and their pictures.
constexpr std::uint16_t kRedGroup = 101;
constexpr std::uint16_t kBlueGroup = 205;

std::vector<Group> TwoGroups() {
  return {
      {kRedGroup, {{1, BitmapPicture(16, 32, 0x11)}, {2, BitmapPicture(32, 32, 0x12)}}},
      {kBlueGroup, {{3, BitmapPicture(16, 8, 0x21)}, {4, BitmapPicture(32, 8, 0x22)}}},
  };
}

// Where in the file the data that a data entry names lies.
std::size_t FileOffsetAt(const Bytes& file, std::size_t data_entry) {
  const std::size_t address = file[data_entry] | file[data_entry + 1] << 8;
  return icon_bytes::kRawStart + address - icon_bytes::kSectionAddress;
}

// The offset in the file of the n-th table entry at that offset of the resource section.
std::size_t EntryAt(std::size_t table, std::size_t n) {
  return icon_bytes::kRawStart + table + 16 + 8 * n;
}

TEST(ProgramIcon, IconsComeByIndexAndIdFromWholeImagesOfBothWidths) {
  const auto groups = TwoGroups();
  const Bytes red16 = groups[0].pictures[0].second.bytes;
  const Bytes red32 = groups[0].pictures[1].second.bytes;
  const Bytes blue32 = groups[1].pictures[1].second.bytes;
  for (const bool wide : {false, true}) {
    const Bytes image = Program(wide, groups);
    const struct {
      const char* name;
      int index;
      int size;
      Bytes picture;
    } rows[] = {
        {"index 0 at 16", 0, 16, red16},
        {"index 0 at 32", 0, 32, red32},
        {"index 1", 1, 32, blue32},
        {"id 205", -205, 32, blue32},
        {"id 101", -101, 16, red16},
        {"index past the last", 2, 16, {}},
        {"the largest index", INT_MAX, 16, {}},
        {"no such id", -102, 16, {}},
        {"an id beyond 16 bits", -(0x10000 + kRedGroup), 16, {}},
        {"the smallest index", INT_MIN, 16, {}},
    };
    for (const auto& row : rows) {
      platform::MemorySource file(image);
      EXPECT_EQ(Copy(platform::ReadProgramIcon(file, row.index, row.size, platform::ChooseNearest)),
                row.picture)
          << row.name << (wide ? ", 64-bit" : ", 32-bit");
    }
  }
}

TEST(ProgramIcon, EveryOffsetCountAndSizeThatLiesGivesNone) {
  const Bytes whole = Program(false, TwoGroups());
  const std::size_t optional = icon_bytes::kOptionalHeaderAt;
  const std::size_t resources = optional + 96 + 16;  // the resource directory's RVA and size
  const std::size_t section = optional + 0xE0;
  // Root: 32 bytes; RT_ICON's table: 16 + 4 * 8; RT_GROUP_ICON's: 16 + 2 * 8; then a language
  // table of 24 bytes per resource (the four pictures, then the two groups), then their data
  // entries of 16 bytes.
  const std::size_t group_table = 32 + 48;
  const std::size_t languages = group_table + 32;
  const std::size_t data_entries = languages + 6 * 24;
  const std::size_t first_group_entry = icon_bytes::kRawStart + data_entries + 4 * 16;
  const std::size_t red16_entry = icon_bytes::kRawStart + data_entries;
  const std::size_t group_data = FileOffsetAt(whole, first_group_entry);
  const std::size_t red16_data = FileOffsetAt(whole, red16_entry);
  // The section grown by 1 MiB, which a group's data one byte longer than any group's fits.
  const Bytes grown =
      WithValue(Cut(whole, whole.size() + 0x100000), section + 16,
                static_cast<std::uint32_t>(whole.size() - icon_bytes::kRawStart + 0x100000), 4);
  const struct {
    const char* name;
    Bytes file;
  } rows[] = {
      {"group table at 0x7FFFFF00",
       WithValue(whole, icon_bytes::kRootGroupEntryAt + 4, 0x80000000u | 0x7FFFFF00u, 4)},
      {"root claiming 65,535 entries", WithValue(whole, icon_bytes::kRootIdCountAt, 0xFFFF, 2)},
      {"root claiming 65,535 named entries", WithValue(whole, icon_bytes::kRootAt + 12, 0xFFFF, 2)},
      {"group table past the section", WithValue(whole, EntryAt(0, 1) + 4, 0x80001000u, 4)},
      {"group table whose entries run past the section",
       WithValue(whole, icon_bytes::kRawStart + group_table + 14, 0x4000, 2)},
      {"language table past the section",
       WithValue(whole, EntryAt(group_table, 0) + 4, 0x8000FFF0u, 4)},
      {"language level holding a table",
       WithValue(whole, EntryAt(languages + 4 * 24, 0) + 4, 0x80000000u, 4)},
      {"group's data before the section", WithValue(whole, first_group_entry, 0x800, 4)},
      {"group's data past the section", WithValue(whole, first_group_entry, 0x7FFFFF00u, 4)},
      {"group's data longer than the section", WithValue(whole, first_group_entry + 4, 0x10000, 4)},
      {"group claiming 65,535 pictures", WithValue(whole, group_data + 4, 0xFFFF, 2)},
      {"group's data longer than any group",
       WithValue(grown, first_group_entry + 4, 6 + 0xFFFF * 14 + 1, 4)},
      {"picture's data past the section", WithValue(whole, red16_entry, 0xFFFFFFF0u, 4)},
      {"picture's data longer than the file", WithValue(whole, red16_entry + 4, 0x7FFFFFFF, 4)},
      {"picture of 2^31-1 x 2^30 pixels",
       WithValue(WithValue(whole, red16_data + 4, 0x7FFFFFFF, 4), red16_data + 8, 0x80000000u, 4)},
      {"no resource directory", WithValue(whole, resources, 0, 4)},
      {"resource directory outside every section", WithValue(whole, resources, 0x9000, 4)},
      {"two data directories only", WithValue(whole, optional + 92, 2, 4)},
      {"neither PE32 nor PE32+", WithValue(whole, optional, 0x107, 2)},
      {"optional header too short for the directories", WithValue(whole, optional - 4, 0x60, 2)},
      {"section past the file's end", WithValue(whole, section + 20, 0x10000, 4)},
      {"cut inside the section", Cut(whole, whole.size() - 1)},
      {"cut after the headers", Cut(whole, icon_bytes::kRawStart)},
      {"no MZ", WithValue(whole, 0, 0, 2)},
      {"empty", {}},
  };
  for (const auto& row : rows) {
    platform::MemorySource source(row.file);
    EXPECT_FALSE(platform::ReadProgramIcon(source, 0, 16, platform::ChooseNearest)) << row.name;
  }
  platform::MemorySource source(whole);
  EXPECT_TRUE(platform::ReadProgramIcon(source, 0, 16, platform::ChooseNearest)) << "the control";
}

TEST(ProgramIcon, AnEmptyResourceRootGivesNone) {
  const Bytes empty_root = Program(true, {});
  platform::MemorySource file(empty_root);
  EXPECT_FALSE(platform::ReadProgramIcon(file, 0, 16, platform::ChooseNearest));
}

TEST(ProgramIcon, OnlyTheHeadersAndTheResourcesAreRead) {
  Bytes large = Program(false, TwoGroups());
  const std::size_t resources = large.size();
  large.resize(resources + 8 * 1024 * 1024, 0xCC);  // data after the last section
  CountingSource file(large);
  ASSERT_TRUE(platform::ReadProgramIcon(file, 1, 32, platform::ChooseNearest));
  EXPECT_LT(file.read(), platform::kImageHeadBytes + resources);
}

}  // namespace
