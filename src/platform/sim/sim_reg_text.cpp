#include "platform/sim/sim_reg_text.h"

#include <optional>
#include <stdexcept>

#include "platform/registry_text.h"
#include "platform/text.h"
#include "platform/wtf8.h"

namespace sim {
namespace {

using Kind = RegTextOperation::Kind;

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kHeaderVersion5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeaderRegedit4 = "REGEDIT4";
constexpr std::string_view kWhitespace = " \t";
constexpr std::size_t kMaxDwordDigits = 8;
constexpr std::size_t kMaxByteDigits = 2;
constexpr int kHexBase = 16;

struct RootName {
  std::string_view name;
  platform::RegKey key;
};
constexpr RootName kRootNames[] = {
    {"HKEY_LOCAL_MACHINE", platform::kHkeyLocalMachine},
    {"HKLM", platform::kHkeyLocalMachine},
    {"HKEY_CURRENT_USER", platform::kHkeyCurrentUser},
    {"HKCU", platform::kHkeyCurrentUser},
};

struct Malformed {
  std::string reason;
};

std::string_view Trim(std::string_view s) {
  const auto first = s.find_first_not_of(kWhitespace);
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(kWhitespace);
  return s.substr(first, last - first + 1);
}

std::optional<std::uint32_t> ParseHex(std::string_view digits, std::size_t max_digits) {
  if (digits.empty() || digits.size() > max_digits) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    int digit = 0;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * kHexBase + static_cast<std::uint32_t>(digit);
  }
  return value;
}

// A quoted text starting at s[0] == '"'; consumes through the closing quote.
std::string ParseQuoted(std::string_view& s) {
  std::string out;
  std::size_t i = 1;
  for (; i < s.size() && s[i] != '"'; ++i) {
    if (s[i] != '\\') {
      out += s[i];
      continue;
    }
    if (++i == s.size()) break;
    if (s[i] != '\\' && s[i] != '"') throw Malformed{"unknown escape \\" + std::string(1, s[i])};
    out += s[i];
  }
  if (i >= s.size()) throw Malformed{"unterminated quoted text"};
  s.remove_prefix(i + 1);
  return out;
}

std::vector<std::uint8_t> ParseBytes(std::string_view list) {
  std::vector<std::uint8_t> bytes;
  list = Trim(list);
  while (!list.empty()) {
    const auto comma = list.find(',');
    const std::string_view item = Trim(list.substr(0, comma));
    const auto byte = ParseHex(item, kMaxByteDigits);
    if (!byte) throw Malformed{"bad hex byte '" + std::string(item) + "'"};
    bytes.push_back(static_cast<std::uint8_t>(*byte));
    if (comma == std::string_view::npos) break;
    list = Trim(list.substr(comma + 1));
  }
  return bytes;
}

class Parser {
 public:
  explicit Parser(bool utf16_text) : utf16_text_(utf16_text) {}

  void Line(std::string_view line, int number) {
    line_ = number;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return;
    if (trimmed.front() == '[') return KeyLine(trimmed);
    if (trimmed.front() == '"' || trimmed.front() == '@') return ValueLine(trimmed);
    throw Malformed{"unexpected line '" + std::string(trimmed) + "'"};
  }

  std::vector<RegTextOperation> Take() { return std::move(operations_); }

 private:
  void KeyLine(std::string_view s) {
    if (s.back() != ']') throw Malformed{"key line without closing ']'"};
    s = s.substr(1, s.size() - 2);
    const bool remove = !s.empty() && s.front() == '-';
    if (remove) s.remove_prefix(1);
    const std::string_view root_name = text::Before(s, "\\");
    std::string_view path = text::After(s, "\\");
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    if (path.find("\\\\") != std::string_view::npos) throw Malformed{"empty key name in path"};
    RegTextOperation op;
    op.kind = remove ? Kind::kDeleteKey : Kind::kCreateKey;
    op.root = Root(root_name);
    op.path = std::string(path);
    if (remove && op.path.empty()) throw Malformed{"cannot delete a root key"};
    current_ = op;
    has_key_ = !remove;
    Add(std::move(op));
  }

  platform::RegKey Root(std::string_view name) const {
    for (const RootName& root : kRootNames) {
      if (text::EqualsIgnoringAsciiCase(name, root.name)) return root.key;
    }
    throw Malformed{"unsupported root '" + std::string(name) + "'"};
  }

  void ValueLine(std::string_view s) {
    if (!has_key_) throw Malformed{"value outside a key section"};
    RegTextOperation op = current_;
    if (s.front() == '@') {
      s.remove_prefix(1);
    } else {
      op.name = ParseQuoted(s);
    }
    if (s.empty() || s.front() != '=') throw Malformed{"expected '=' after the value name"};
    s = Trim(s.substr(1));
    Data(s, op);
    Add(std::move(op));
  }

  void Data(std::string_view s, RegTextOperation& op) const {
    if (s == "-") {
      op.kind = Kind::kDeleteValue;
      return;
    }
    op.kind = Kind::kSetValue;
    if (!s.empty() && s.front() == '"') return TextData(s, op);
    if (s.starts_with("dword:")) return DwordData(s.substr(6), op);
    if (s.starts_with("hex")) return HexData(s.substr(3), op);
    throw Malformed{"unknown data '" + std::string(s) + "'"};
  }

  static void TextData(std::string_view s, RegTextOperation& op) {
    const std::string value = ParseQuoted(s);
    if (!Trim(s).empty()) throw Malformed{"text after the closing quote"};
    op.type = platform::kRegSz;
    op.data = platform::StoredBytes(op.type, reinterpret_cast<const std::uint8_t*>(value.data()),
                                    value.size());
  }

  static void DwordData(std::string_view digits, RegTextOperation& op) {
    const auto value = ParseHex(digits, kMaxDwordDigits);
    if (!value) throw Malformed{"bad dword '" + std::string(digits) + "'"};
    op.type = platform::kRegDword;
    for (int shift = 0; shift < 32; shift += 8) {
      op.data.push_back(static_cast<std::uint8_t>(*value >> shift));
    }
  }

  void HexData(std::string_view s, RegTextOperation& op) const {
    op.type = platform::kRegBinary;
    if (s.starts_with("(")) {
      const auto close = s.find(')');
      const auto type = ParseHex(s.substr(1, close - 1), kMaxDwordDigits);
      if (close == std::string_view::npos || !type) throw Malformed{"bad hex(type)"};
      op.type = *type;
      s.remove_prefix(close + 1);
    }
    if (!s.starts_with(":")) throw Malformed{"expected ':' after hex"};
    op.data = ParseBytes(s.substr(1));
    if (!utf16_text_ && platform::IsRegistryText(op.type)) {
      op.data = platform::Utf16LeBytes(op.data.data(), op.data.size());
    }
  }

  void Add(RegTextOperation op) {
    op.line = line_;
    operations_.push_back(std::move(op));
  }

  bool utf16_text_;
  int line_ = 0;
  bool has_key_ = false;
  RegTextOperation current_;
  std::vector<RegTextOperation> operations_;
};

std::vector<std::string_view> PhysicalLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool Continues(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() != ';' && trimmed.front() != '[' &&
         trimmed.back() == '\\';
}

}  // namespace

std::string Utf16LeToUtf8(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() % 2 != 0) throw std::invalid_argument("UTF-16 text of odd byte count");
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
  }
  return text::Utf16ToWtf8(std::u16string_view(units));
}

std::vector<RegTextOperation> ParseRegText(std::string_view text) {
  if (text.starts_with(kUtf16LeBom)) {
    text.remove_prefix(kUtf16LeBom.size());
    const std::string utf8 = Utf16LeToUtf8(std::vector<std::uint8_t>(text.begin(), text.end()));
    return ParseRegText(utf8);
  }
  if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
  const std::vector<std::string_view> lines = PhysicalLines(text);
  std::size_t first = 0;
  bool utf16_text = true;
  if (!lines.empty() && Trim(lines[0]) == kHeaderVersion5) first = 1;
  if (!lines.empty() && Trim(lines[0]) == kHeaderRegedit4) {
    first = 1;
    utf16_text = false;
  }
  Parser parser(utf16_text);
  for (std::size_t i = first; i < lines.size(); ++i) {
    const int number = static_cast<int>(i + 1);
    std::string logical(lines[i]);
    while (Continues(logical) && i + 1 < lines.size()) {
      logical = std::string(Trim(logical));
      logical.pop_back();
      logical += Trim(lines[++i]);
    }
    try {
      parser.Line(logical, number);
    } catch (const Malformed& error) {
      throw std::invalid_argument("line " + std::to_string(number) + ": " + error.reason);
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument("line " + std::to_string(number) + ": " + error.what());
    }
  }
  return parser.Take();
}

}  // namespace sim
