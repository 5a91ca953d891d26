#pragma once

// Shortcut files (.lnk) built section by section, for tests.

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace shortcut_bytes {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kIds = 1, kInfo = 2, kName = 4, kWide = 0x80, kEnv = 0x200;

inline void Put(Bytes& out, std::size_t value, std::size_t width = 4) {
  for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> 8 * i));
}

inline Bytes Set(Bytes bytes, std::size_t at, std::size_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> 8 * i);
  return bytes;
}

// The header (its size, the class id of shell links as four words, the flags), the sections, and
// the block that ends the file.
inline Bytes Lnk(std::uint32_t flags, std::initializer_list<Bytes> sections) {
  Bytes out;
  for (const auto word : {0x4Cu, 0x21401u, 0u, 0xC0u, 0x46000000u, flags}) Put(out, word);
  out.resize(0x4C);
  for (const Bytes& section : sections) out.insert(out.end(), section.begin(), section.end());
  Put(out, 0);
  return out;
}

// The local path's base and suffix in ANSI (each unit's low byte), then in Unicode, which is read
// unless the header's size is set to that of ANSI link information; no network share.
inline Bytes LinkInfo(std::u16string_view base, std::u16string_view suffix) {
  Bytes info(0x10), strings;
  const auto add = [&](std::u16string_view text, std::size_t width) {
    Put(info, 0x24 + strings.size());
    for (const char16_t unit : text) Put(strings, unit, width);
    Put(strings, 0, width);
  };
  add(base, 1), Put(info, 0), add(suffix, 1), add(base, 2), add(suffix, 2);
  info.insert(info.end(), strings.begin(), strings.end());
  return Set(Set(Set(info, 0, info.size()), 4, 0x24), 8, 1);
}

inline Bytes Environment(std::u16string_view target) {
  Bytes block = Set(Set(Bytes(0x10C), 0, 0x314), 4, 0xA0000001);
  for (const char16_t unit : target) Put(block, unit, 2);
  block.resize(0x314);
  return block;
}

}  // namespace shortcut_bytes
