#include "platform/icon_image.h"

#include <algorithm>
#include <array>
#include <optional>

#include "platform/le_bytes.h"

namespace platform {
namespace {

// BITMAPINFOHEADER: the only header icons carry in practice.
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kWidthAt = 4;
constexpr std::size_t kHeightAt = 8;
constexpr std::size_t kPlanesAt = 12;
constexpr std::size_t kBitCountAt = 14;
constexpr std::size_t kCompressionAt = 16;
constexpr std::size_t kColoursUsedAt = 32;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBitfieldMasks = 3;
constexpr std::uint32_t kColourEntryBytes = 4;  // RGBQUAD
constexpr std::uint32_t kLargestPalette = 256;
constexpr std::uint32_t kPaletteDepth = 8;  // up to this depth, pixels index the colour table
constexpr std::array<std::uint32_t, 6> kDepths = {1, 4, 8, 16, 24, 32};

constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::uint32_t kIhdrLength = 13;
constexpr std::array<std::uint8_t, 4> kIhdr = {'I', 'H', 'D', 'R'};
constexpr std::size_t kIhdrAt = 8;                                    // length, then type
constexpr std::size_t kPngHeadBytes = kIhdrAt + 8 + kIhdrLength + 4;  // with its CRC

bool IsSide(std::int64_t side) {
  return side >= 1 && side <= kLargestIconSide;
}

// A row of a bitmap: whole 32-bit words.
std::uint64_t RowBytes(std::uint64_t width, std::uint64_t bits) {
  return (width * bits + 31) / 32 * 4;
}

std::optional<std::int32_t> Signed(std::optional<std::uint32_t> value) {
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

bool IsSoundBitmap(std::span<const std::uint8_t> image) {
  const LittleEndian read(image);
  const auto width = Signed(read.U32(kWidthAt));
  const auto height = Signed(read.U32(kHeightAt));  // the colour pixels and the mask, stacked
  const auto planes = read.U16(kPlanesAt);
  const auto bits = read.U16(kBitCountAt);
  const auto compression = read.U32(kCompressionAt);
  const auto colours_used = read.U32(kColoursUsedAt);
  if (read.U32(0) != kInfoHeaderSize || !width || !height || !planes || !bits || !compression ||
      !colours_used) {
    return false;
  }
  if (!IsSide(*width) || *height % 2 != 0 || !IsSide(*height / 2) || *planes != 1) return false;
  if (std::find(kDepths.begin(), kDepths.end(), *bits) == kDepths.end()) return false;
  const bool bitfields = *compression == kBiBitfields && *bits > kPaletteDepth && *bits != 24;
  if (*compression != kBiRgb && !bitfields) return false;
  const std::uint32_t palette_limit = *bits <= kPaletteDepth ? 1u << *bits : kLargestPalette;
  if (*colours_used > palette_limit) return false;
  const std::uint64_t colours =
      *colours_used != 0 || *bits > kPaletteDepth ? *colours_used : palette_limit;
  const std::uint64_t rows = static_cast<std::uint64_t>(*height / 2);
  const std::uint64_t needed = kInfoHeaderSize + (bitfields ? kBitfieldMasks * 4 : 0) +
                               colours * kColourEntryBytes + RowBytes(*width, *bits) * rows +
                               RowBytes(*width, 1) * rows;
  return needed <= image.size();
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) << 24 |
         static_cast<std::uint32_t>(bytes[at + 1]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 8 | bytes[at + 3];
}

bool IsPng(std::span<const std::uint8_t> image) {
  return image.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), image.begin());
}

bool IsSoundPng(std::span<const std::uint8_t> image) {
  if (image.size() < kPngHeadBytes) return false;
  if (BigEndian(image, kIhdrAt) != kIhdrLength ||
      !std::equal(kIhdr.begin(), kIhdr.end(), image.begin() + kIhdrAt + 4)) {
    return false;
  }
  const std::uint32_t width = BigEndian(image, kIhdrAt + 8);
  const std::uint32_t height = BigEndian(image, kIhdrAt + 12);
  return IsSide(width) && IsSide(height);
}

}  // namespace

bool IsSoundIconImage(std::span<const std::uint8_t> image) {
  return IsPng(image) ? IsSoundPng(image) : IsSoundBitmap(image);
}

}  // namespace platform
