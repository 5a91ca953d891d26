#include "app/copies/reg_file.h"

#include <cstdio>
#include <string_view>

#include "platform/registry_text.h"
#include "platform/wtf8.h"

namespace app {
namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::uint8_t kUtf16LeBom[] = {0xFF, 0xFE};
// regedit breaks hex data after this column and goes on, indented, after a backslash.
constexpr std::size_t kWrapColumn = 76;
constexpr std::string_view kContinuation = "\\\r\n  ";
constexpr std::size_t kDwordSize = 4;

bool IsControl(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

std::u16string Units(const std::vector<std::uint8_t>& data) {
  std::u16string units(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }
  return units;
}

// A name that a line of the file can hold: no control character, no lone surrogate.
bool Writable(const std::string& name) {
  const std::u16string units = text::Wtf8ToUtf16<char16_t>(name);
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsControl(units[i])) return false;
    if (!IsSurrogate(units[i])) continue;
    const bool pair = units[i] < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
                      units[i + 1] <= 0xDFFF;
    if (!pair) return false;
    ++i;
  }
  return true;
}

// REG_SZ that a quoted string gives back exactly: UTF-16 ending in its one zero unit, with no
// control character and no lone surrogate.
bool IsCleanText(const CopiedValue& value) {
  if (value.type != platform::kRegSz) return false;
  if (value.data.size() < 2 || value.data.size() % 2 != 0) return false;
  const std::u16string units = Units(value.data);
  if (units.back() != u'\0') return false;
  const std::u16string body = units.substr(0, units.size() - 1);
  return Writable(text::Utf16ToWtf8(std::u16string_view(body)));
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '\\' || c == '"') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

std::string HexByte(std::uint8_t byte) {
  char digits[3];
  std::snprintf(digits, sizeof digits, "%02x", byte);
  return digits;
}

std::string HexData(std::string prefix, const std::vector<std::uint8_t>& data) {
  std::string line = std::move(prefix);
  std::size_t column = line.size();
  for (std::size_t i = 0; i < data.size(); ++i) {
    line += HexByte(data[i]);
    column += 2;
    if (i + 1 == data.size()) break;
    line += ',';
    ++column;
    if (column >= kWrapColumn) {
      line += kContinuation;
      column = 2;
    }
  }
  return line;
}

std::string HexPrefix(std::uint32_t type) {
  if (type == platform::kRegBinary) return "hex:";
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(type));
  return buffer;
}

std::string ValueLine(const CopiedValue& value) {
  std::string line = value.name.empty() ? "@=" : Quoted(value.name) + "=";
  if (IsCleanText(value)) {
    const std::u16string units = Units(value.data);
    const std::u16string_view body(units.data(), units.size() - 1);
    return line + Quoted(text::Utf16ToWtf8(body));
  }
  if (value.type == platform::kRegDword && value.data.size() == kDwordSize) {
    char digits[16];
    const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                 (static_cast<std::uint32_t>(value.data[3]) << 24);
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(number));
    return line + "dword:" + digits;
  }
  return HexData(line + HexPrefix(value.type), value.data);
}

bool AppendKey(const CopiedKey& key, const std::string& path, std::string& out) {
  out += "[" + path + "]";
  out += kLineEnd;
  for (const CopiedValue& value : key.values) {
    if (!Writable(value.name)) return false;
    out += ValueLine(value);
    out += kLineEnd;
  }
  out += kLineEnd;
  for (const CopiedKey& subkey : key.subkeys) {
    if (!Writable(subkey.name)) return false;
    if (!AppendKey(subkey, path + "\\" + subkey.name, out)) return false;
  }
  return true;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> RegFileBytes(const CopiedKey& key,
                                                      const std::string& path) {
  if (!Writable(path)) return std::nullopt;
  std::string text(kHeader);
  text += kLineEnd;
  text += kLineEnd;
  if (!AppendKey(key, path, text)) return std::nullopt;
  std::vector<std::uint8_t> bytes(std::begin(kUtf16LeBom), std::end(kUtf16LeBom));
  const std::vector<std::uint8_t> body =
      platform::Utf16LeBytes(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  bytes.insert(bytes.end(), body.begin(), body.end());
  return bytes;
}

}  // namespace app
