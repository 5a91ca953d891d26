#pragma once

// One picture of an icon as a file or a resource holds it: a bitmap (its header, colour table,
// colour pixels and 1-bit mask) or a PNG file. The system's icon code believes what such a
// picture says of itself, so a picture from a file reaches it only as a private copy that has
// passed IsSoundIconImage.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

// The widest and tallest picture an icon may have.
inline constexpr int kLargestIconSide = 256;
// The most bytes one picture may take: a 256 x 256 bitmap of 32 bits per pixel with its mask
// and colour table takes about 270 KB; a PNG of that size has room to spare.
inline constexpr std::size_t kLargestImageBytes = 1024 * 1024;

// A picture's bytes in memory of the program's own, aligned to 32 bits as the system's icon
// code asks.
class IconImage {
 public:
  explicit IconImage(std::size_t size) : words_((size + 3) / 4), size_(size) {}
  std::span<std::uint8_t> Bytes() {
    return {reinterpret_cast<std::uint8_t*>(words_.data()), size_};
  }
  std::span<const std::uint8_t> Bytes() const {
    return {reinterpret_cast<const std::uint8_t*>(words_.data()), size_};
  }

 private:
  std::vector<std::uint32_t> words_;
  std::size_t size_;
};

// Whether the picture is one the system may be given: a bitmap whose header, masks, colour
// table, pixels and mask all lie within it, of a known depth and compression and at most
// kLargestIconSide each way; or a PNG whose signature and IHDR say the same.
bool IsSoundIconImage(std::span<const std::uint8_t> image);

}  // namespace platform
