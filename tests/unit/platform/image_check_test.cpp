// Which program files go to the shell's icon extraction: whole PE images only.

#include "platform/image_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::size_t kPeAt = 0x80;
constexpr std::size_t kOptionalSize = 0xE0;    // PE32
constexpr std::size_t kOptionalSize64 = 0xF0;  // PE32+
constexpr std::size_t kSectionTable = kPeAt + 24 + kOptionalSize;
constexpr std::uint32_t kHeadersSize = 0x400;

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int width) {
  if (bytes.size() < at + width) bytes.resize(at + width);
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The headers of an image with sections of these (raw pointer, raw size), each named.
std::vector<std::uint8_t> Image(
    const std::vector<std::pair<std::uint32_t, std::uint32_t>>& sections,
    std::size_t optional_size = kOptionalSize) {
  std::vector<std::uint8_t> bytes(kHeadersSize, 0);
  Put(bytes, 0, 0x5A4D, 2);
  Put(bytes, 0x3C, kPeAt, 4);
  Put(bytes, kPeAt, 0x00004550, 4);
  Put(bytes, kPeAt + 4 + 2, static_cast<std::uint32_t>(sections.size()), 2);
  Put(bytes, kPeAt + 4 + 16, static_cast<std::uint32_t>(optional_size), 2);
  Put(bytes, kPeAt + 24, optional_size == kOptionalSize64 ? 0x20B : 0x10B, 2);
  Put(bytes, kPeAt + 24 + 60, kHeadersSize, 4);
  std::size_t at = kPeAt + 24 + optional_size;
  for (const auto& [pointer, size] : sections) {
    Put(bytes, at, 0x7865742E, 4);  // ".tex"
    Put(bytes, at + 16, size, 4);
    Put(bytes, at + 20, pointer, 4);
    at += 40;
  }
  return bytes;
}

TEST(ImageCheck, OnlyImagesWhoseSectionsAllLieInTheFileAreWhole) {
  const auto two = Image({{0x400, 0x1000}, {0x1400, 0x200}});
  const auto wide = Image({{0x400, 0x1000}, {0x1400, 0x200}}, kOptionalSize64);
  // The check reads a section header up to its raw pointer.
  const std::vector<std::uint8_t> two_tables(two.begin(), two.begin() + kSectionTable + 40 + 24);
  std::vector<std::uint8_t> not_mz = two;
  not_mz[0] = 'X';
  std::vector<std::uint8_t> not_pe = two;
  not_pe[kPeAt] = 'X';
  std::vector<std::uint8_t> far_pe = two;
  Put(far_pe, 0x3C, 0xFFFFFFF0u, 4);
  const struct {
    const char* name;
    std::vector<std::uint8_t> head;
    std::uint64_t file_size;
    bool whole;
  } rows[] = {
      {"whole", two, 0x1600, true},
      {"larger than its sections", two, 0x9000, true},
      {"cut inside the last section", two, 0x15FF, false},
      {"cut inside the headers", two, 0x200, false},
      {"only the first kilobyte read of a cut file",
       std::vector<std::uint8_t>(two.begin(), two.begin() + 0x100), 0x1600, false},
      {"no MZ", not_mz, 0x1600, false},
      {"no PE signature", not_pe, 0x1600, false},
      {"header offset past everything", far_pe, 0x1600, false},
      {"section ending past 4 GB", Image({{0xFFFFFF00u, 0x200}}), 0x1600, false},
      {"64-bit, whole", wide, 0x1600, true},
      {"64-bit, cut inside the last section", wide, 0x15FF, false},
      {"64-bit, cut inside the headers", wide, 0x3FF, false},
      {"no sections, ending at its headers", Image({}), kHeadersSize, true},
      {"no sections, one byte short of its headers", Image({}), kHeadersSize - 1, false},
      {"a section ending at the file's end", Image({{0x400, 0x1000}}), 0x1400, true},
      {"read up to the last raw pointer", two_tables, 0x1600, true},
      {"read one byte short of the last raw pointer",
       std::vector<std::uint8_t>(two_tables.begin(), two_tables.end() - 1), 0x1600, false},
      {"empty", {}, 0, false},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(platform::HoldsWholeImage(row.head, row.file_size), row.whole) << row.name;
  }
}

}  // namespace
