#include "platform/registry_text.h"

#include <string>
#include <string_view>

#include "platform/raw_registry.h"
#include "platform/wtf8.h"

namespace platform {

bool IsRegistryText(std::uint32_t type) {
  return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::vector<std::uint8_t> SeamBytes(std::uint32_t type, const std::uint8_t* data,
                                    std::size_t size) {
  if (!IsRegistryText(type)) return std::vector<std::uint8_t>(data, data + size);
  std::u16string units(size / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  const std::string utf8 = text::Utf16ToWtf8(std::u16string_view(units));
  return std::vector<std::uint8_t>(utf8.begin(), utf8.end());
}

std::vector<std::uint8_t> Utf16LeBytes(const std::uint8_t* data, std::size_t size) {
  const std::u16string units =
      text::Wtf8ToUtf16<char16_t>(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::uint8_t> bytes;
  bytes.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

std::vector<std::uint8_t> StoredBytes(std::uint32_t type, const std::uint8_t* data,
                                      std::size_t size) {
  if (!IsRegistryText(type)) {
    if (data == nullptr) return {};
    return std::vector<std::uint8_t>(data, data + size);
  }
  std::vector<std::uint8_t> bytes =
      data == nullptr ? std::vector<std::uint8_t>{} : Utf16LeBytes(data, size);
  const bool terminated =
      bytes.size() >= 2 && bytes[bytes.size() - 1] == 0 && bytes[bytes.size() - 2] == 0;
  if (!terminated) bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

}  // namespace platform
