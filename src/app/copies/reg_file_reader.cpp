#include "app/copies/reg_file_reader.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/wtf8.h"

namespace app {
namespace {

constexpr std::uint8_t kUtf16LeBom[] = {0xFF, 0xFE};
constexpr std::size_t kUnitBytes = 2;
constexpr std::string_view kHeaderLines = "Windows Registry Editor Version 5.00\r\n\r\n";
constexpr std::string_view kLineEnd = "\r\n";
// The writer breaks hex data once a line reaches this column, counted in bytes of UTF-8, and
// goes on after a backslash on a line indented by two blanks.
constexpr std::size_t kWrapColumn = 76;
constexpr std::string_view kContinuation = "\\\r\n  ";
constexpr std::size_t kContinuedColumn = 2;
constexpr std::size_t kDwordDigits = 8;
constexpr std::size_t kDwordSize = 4;
constexpr std::size_t kMaxTypeDigits = 8;
constexpr int kNoDigit = -1;

bool IsControl(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F);
}

bool IsHigh(char16_t unit) {
  return unit >= 0xD800 && unit < 0xDC00;
}

bool IsLow(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

int HexDigit(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return kNoDigit;
}

char16_t UnitAt(const std::vector<std::uint8_t>& data, std::size_t index) {
  return static_cast<char16_t>(data[2 * index] | (data[2 * index + 1] << 8));
}

// Data the writer gives as a quoted string: REG_SZ ending in its one zero unit, with no control
// character and no surrogate out of a pair before it.
bool Quotable(const CopiedValue& value) {
  if (value.type != platform::kRegSz) return false;
  if (value.data.size() < kUnitBytes || value.data.size() % kUnitBytes != 0) return false;
  const std::size_t units = value.data.size() / kUnitBytes;
  if (UnitAt(value.data, units - 1) != u'\0') return false;
  for (std::size_t i = 0; i + 1 < units; ++i) {
    const char16_t unit = UnitAt(value.data, i);
    if (IsControl(unit) || IsLow(unit)) return false;
    if (!IsHigh(unit)) continue;
    if (i + 2 >= units || !IsLow(UnitAt(value.data, i + 1))) return false;
    ++i;
  }
  return true;
}

// What the writer writes as hex: everything it neither quotes nor gives as a dword.
bool WrittenAsHex(const CopiedValue& value) {
  if (value.type == platform::kRegDword && value.data.size() == kDwordSize) return false;
  return !Quotable(value);
}

// The length of the name's quoted form in UTF-8, with "=": where the value's data starts.
std::size_t NameColumn(const std::string& name) {
  std::size_t column = name.size() + 3;
  for (const char c : name) {
    if (c == '\\' || c == '"') ++column;
  }
  return column;
}

void AppendUnit(std::vector<std::uint8_t>& data, char16_t unit) {
  data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
  data.push_back(static_cast<std::uint8_t>(unit >> 8));
}

class Parser {
 public:
  Parser(std::span<const std::uint8_t> file, std::size_t budget) : file_(file), left_(budget) {}

  RegFileRead Read() {
    if (file_.size() > kMaxCopyFileBytes) {
      Fail(RegFileFault::kTooLarge);
    } else if (Utf16Le()) {
      at_ = sizeof kUtf16LeBom;
      line_ = 1;
      if (!Take(kHeaderLines)) {
        Fail(RegFileFault::kHeader);
      } else {
        ReadTree();
      }
    }
    if (!result_.ok()) {
      result_.path.clear();
      result_.key = CopiedKey{};
    }
    return std::move(result_);
  }

 private:
  struct OpenKey {
    CopiedKey* key;
    std::size_t path_length;
  };

  struct Mark {
    std::size_t at;
    std::size_t line;
  };

  bool Utf16Le() {
    const bool bom = file_.size() >= sizeof kUtf16LeBom && file_[0] == kUtf16LeBom[0] &&
                     file_[1] == kUtf16LeBom[1];
    if (bom && file_.size() % kUnitBytes == 0) return true;
    return Fail(RegFileFault::kNotUtf16);
  }

  bool AtEnd() const { return file_.size() - at_ < kUnitBytes; }

  // The unit under the cursor; a zero unit, which nothing takes, past the end.
  char16_t Peek() const {
    if (AtEnd()) return u'\0';
    return static_cast<char16_t>(file_[at_] | (file_[at_ + 1] << 8));
  }

  void Advance() { at_ += kUnitBytes; }

  // Takes the ASCII text when the file goes on with it, and nothing otherwise.
  bool Take(std::string_view ascii) {
    const Mark start = Here();
    for (const char c : ascii) {
      if (Peek() != static_cast<char16_t>(c)) {
        Return(start);
        return false;
      }
      Advance();
      if (c == '\n') ++line_;
    }
    return true;
  }

  Mark Here() const { return {at_, line_}; }
  void Return(Mark mark) {
    at_ = mark.at;
    line_ = mark.line;
  }

  bool Fail(RegFileFault fault) {
    if (result_.ok()) {
      result_.fault = fault;
      result_.line = line_;
      result_.offset = at_;
    }
    return false;
  }

  bool Spend(std::size_t bytes) {
    if (bytes > left_) return Fail(RegFileFault::kTooMuch);
    left_ -= bytes;
    return true;
  }

  // One character of a name, a path or a string: a unit that is no control character, or a
  // surrogate pair.
  bool TakeCharacter(std::u16string& out, RegFileFault fault) {
    const char16_t unit = Peek();
    if (AtEnd() || IsControl(unit) || IsLow(unit)) return Fail(fault);
    out += unit;
    Advance();
    if (!IsHigh(unit)) return true;
    if (!IsLow(Peek())) return Fail(fault);
    out += Peek();
    Advance();
    return true;
  }

  // A quoted name or string: a backslash escapes a backslash or a quote, and nothing else.
  bool ReadQuoted(std::u16string& out, RegFileFault fault) {
    if (!Take("\"")) return Fail(fault);
    while (!Take("\"")) {
      if (!Take("\\")) {
        if (!TakeCharacter(out, fault)) return false;
        continue;
      }
      const char16_t escaped = Peek();
      if (escaped != u'\\' && escaped != u'"') return Fail(fault);
      out += escaped;
      Advance();
    }
    return true;
  }

  bool ReadKeyLine(std::string& path) {
    if (!Take("[")) return Fail(RegFileFault::kKeyLine);
    std::u16string units;
    while (!AtEnd() && Peek() != u'\r') {
      if (!TakeCharacter(units, RegFileFault::kKeyLine)) return false;
    }
    if (units.empty() || units.back() != u']') return Fail(RegFileFault::kKeyLine);
    units.pop_back();
    if (!Take(kLineEnd)) return Fail(RegFileFault::kKeyLine);
    path = text::Utf16ToWtf8(std::u16string_view(units));
    return true;
  }

  bool ReadString(CopiedValue& value) {
    std::u16string body;
    if (!ReadQuoted(body, RegFileFault::kValueData)) return false;
    if (!Spend((body.size() + 1) * kUnitBytes)) return false;
    value.type = platform::kRegSz;
    for (const char16_t unit : body) AppendUnit(value.data, unit);
    AppendUnit(value.data, u'\0');
    return true;
  }

  bool ReadDword(CopiedValue& value) {
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < kDwordDigits; ++i) {
      const int digit = HexDigit(Peek());
      if (digit == kNoDigit) return Fail(RegFileFault::kValueData);
      number = number << 4 | static_cast<std::uint32_t>(digit);
      Advance();
    }
    if (!Spend(kDwordSize)) return false;
    value.type = platform::kRegDword;
    for (std::size_t i = 0; i < kDwordSize; ++i) {
      value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    }
    return true;
  }

  // "hex:" for REG_BINARY, "hex(N):" for any other type, N in lower-case hex without leading
  // zeros.
  bool ReadType(std::uint32_t& type) {
    if (Take("hex:")) {
      type = platform::kRegBinary;
      return true;
    }
    if (!Take("hex(")) return Fail(RegFileFault::kValueData);
    std::uint32_t number = 0;
    std::size_t digits = 0;
    for (int digit = HexDigit(Peek()); digit != kNoDigit; digit = HexDigit(Peek())) {
      const bool leading_zero = digits == 1 && number == 0;
      if (digits == kMaxTypeDigits || leading_zero) return Fail(RegFileFault::kValueData);
      number = number << 4 | static_cast<std::uint32_t>(digit);
      ++digits;
      Advance();
    }
    if (digits == 0 || number == platform::kRegBinary) return Fail(RegFileFault::kValueData);
    if (!Take("):")) return Fail(RegFileFault::kValueData);
    type = number;
    return true;
  }

  bool TakeHexByte(std::uint8_t& byte) {
    const int high = HexDigit(Peek());
    if (high == kNoDigit) return Fail(RegFileFault::kValueData);
    Advance();
    const int low = HexDigit(Peek());
    if (low == kNoDigit) return Fail(RegFileFault::kValueData);
    Advance();
    byte = static_cast<std::uint8_t>(high << 4 | low);
    return true;
  }

  // Bytes as "xx" joined by commas, broken exactly where the writer breaks them: column is the
  // line's length so far.
  bool ReadHexData(std::size_t column, std::vector<std::uint8_t>& data) {
    if (Peek() == u'\r') return true;
    for (;;) {
      std::uint8_t byte = 0;
      if (!TakeHexByte(byte) || !Spend(1)) return false;
      data.push_back(byte);
      column += 2;
      if (!Take(",")) return true;
      ++column;
      if (column < kWrapColumn) continue;
      if (!Take(kContinuation)) return Fail(RegFileFault::kValueData);
      column = kContinuedColumn;
    }
  }

  bool ReadValue(CopiedValue& value) {
    std::size_t column = 0;
    if (Take("@=")) {
      column = 2;
    } else {
      std::u16string name;
      if (!ReadQuoted(name, RegFileFault::kValueName)) return false;
      // The default value is only ever "@".
      if (name.empty() || !Take("=")) return Fail(RegFileFault::kValueName);
      value.name = text::Utf16ToWtf8(std::u16string_view(name));
      if (!Spend(value.name.size())) return false;
      column = NameColumn(value.name);
    }
    if (Peek() == u'"') return ReadString(value);
    if (Take("dword:")) return ReadDword(value);
    const std::size_t type_start = at_;
    if (!ReadType(value.type)) return false;
    column += (at_ - type_start) / kUnitBytes;
    if (!ReadHexData(column, value.data)) return false;
    if (!WrittenAsHex(value)) return Fail(RegFileFault::kValueData);
    return true;
  }

  // A key's values, each on its line, up to the blank line that ends the key.
  bool ReadValues(CopiedKey& key) {
    while (!Take(kLineEnd)) {
      if (AtEnd()) return Fail(RegFileFault::kCut);
      CopiedValue value;
      if (!ReadValue(value)) return false;
      if (!Take(kLineEnd)) return Fail(RegFileFault::kLineEnd);
      key.values.push_back(std::move(value));
    }
    return true;
  }

  // The open key that the path names a subkey of: its path, a backslash and a name. No key name
  // is empty or holds a backslash.
  std::optional<std::size_t> ParentOf(const std::string& path) const {
    const std::size_t cut = path.find_last_of('\\');
    if (cut == std::string::npos || cut + 1 == path.size()) return std::nullopt;
    for (std::size_t i = 0; i < open_.size(); ++i) {
      if (open_[i].path_length == cut && path.compare(0, cut, open_path_, 0, cut) == 0) return i;
    }
    return std::nullopt;
  }

  bool ReadSubkey() {
    const Mark start = Here();
    std::string path;
    if (!ReadKeyLine(path)) return false;
    const std::optional<std::size_t> parent = ParentOf(path);
    if (!parent) {
      Return(start);
      return Fail(RegFileFault::kKeyLine);
    }
    if (*parent + 1 > static_cast<std::size_t>(kMaxCopyDepth)) {
      Return(start);
      return Fail(RegFileFault::kTooDeep);
    }
    std::string name = path.substr(open_[*parent].path_length + 1);
    if (!Spend(name.size())) return false;
    open_.resize(*parent + 1);
    CopiedKey& up = *open_.back().key;
    up.subkeys.push_back(CopiedKey{std::move(name), {}, {}});
    open_.push_back({&up.subkeys.back(), path.size()});
    open_path_ = std::move(path);
    return ReadValues(*open_.back().key);
  }

  // Keys come down the tree in the writer's order: a key, its values, then each subkey in turn
  // with everything under it. Only keys on the way down to the last one read take subkeys, so
  // the pointers to them stay valid.
  bool ReadTree() {
    if (!ReadKeyLine(result_.path)) return false;
    const std::size_t cut = result_.path.find_last_of('\\');
    result_.key.name = cut == std::string::npos ? result_.path : result_.path.substr(cut + 1);
    open_.push_back({&result_.key, result_.path.size()});
    open_path_ = result_.path;
    if (!ReadValues(result_.key)) return false;
    while (!AtEnd()) {
      if (!ReadSubkey()) return false;
    }
    return true;
  }

  const std::span<const std::uint8_t> file_;
  std::size_t left_;
  std::size_t at_ = 0;
  std::size_t line_ = 0;
  std::vector<OpenKey> open_;
  std::string open_path_;
  RegFileRead result_;
};

}  // namespace

RegFileRead ReadRegFile(std::span<const std::uint8_t> file, std::size_t budget) {
  return Parser(file, budget).Read();
}

}  // namespace app
