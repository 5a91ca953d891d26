#pragma once

// SHA-256, fed in pieces, for checking that what was moved or copied is what was taken.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class Sha256 {
 public:
  void Add(const std::uint8_t* bytes, std::size_t count);
  void Add(std::string_view bytes) {
    Add(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
  // The hash of everything added, in lower-case hex; the object is spent afterwards.
  std::string FinishHex();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::array<std::uint8_t, 64> block_{};
  std::size_t filled_ = 0;
  std::uint64_t total_bytes_ = 0;
};

inline std::string Sha256Hex(std::string_view bytes) {
  Sha256 hash;
  hash.Add(bytes);
  return hash.FinishHex();
}

}  // namespace platform
