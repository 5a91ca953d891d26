#pragma once

// Little-endian reads of the fields of file formats, which fail past the end of what was read
// instead of reading beyond it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace platform {

class LittleEndian {
 public:
  explicit LittleEndian(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

  std::optional<std::uint32_t> Read(std::uint64_t at, std::size_t width) const {
    if (at > bytes_.size() || bytes_.size() - at < width) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      value |= static_cast<std::uint32_t>(bytes_[at + i]) << (8 * i);
    }
    return value;
  }
  std::optional<std::uint32_t> U8(std::uint64_t at) const { return Read(at, 1); }
  std::optional<std::uint32_t> U16(std::uint64_t at) const { return Read(at, 2); }
  std::optional<std::uint32_t> U32(std::uint64_t at) const { return Read(at, 4); }
  std::size_t size() const { return bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
};

}  // namespace platform
