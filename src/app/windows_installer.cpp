#include "app/windows_installer.h"

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

std::string InstallerRemoveCommand(std::string_view product_code) {
  return "MsiExec.exe /X" + std::string(product_code);
}

}  // namespace app
