#include "app/entry/windows_installer.h"

#include <utility>

#include "platform/text.h"

namespace app {
namespace {

// Where the hyphens stand in a product code, braces counted.
constexpr std::string_view kShape = "{________-____-____-____-____________}";

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

bool IsProductCode(std::string_view name) {
  if (name.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const bool holds = kShape[i] == '_' ? IsHexDigit(name[i]) : name[i] == kShape[i];
    if (!holds) return false;
  }
  return true;
}

std::string PackedProductCode(std::string_view product_code) {
  if (!IsProductCode(product_code)) return {};
  std::string digits;
  for (const char c : product_code) {
    if (c != '{' && c != '}' && c != '-') digits += c;
  }
  digits = text::UpperAscii(digits);
  // Groups of 8, 4 and 4 digits reversed whole; the last 16 digits as 8 bytes, each swapped.
  std::string packed;
  for (const auto& [at, length] : {std::pair{0, 8}, std::pair{8, 4}, std::pair{12, 4}}) {
    packed.append(digits.rbegin() + (32 - at - length), digits.rbegin() + (32 - at));
  }
  for (std::size_t at = 16; at < digits.size(); at += 2) {
    packed += digits[at + 1];
    packed += digits[at];
  }
  return packed;
}

std::string InstallerRemoveCommand(std::string_view product_code) {
  return "MsiExec.exe /X" + std::string(product_code);
}

}  // namespace app
