#include "app/listing/list_json.h"

#include <string_view>

#include "app/listing/listed_fields.h"
#include "platform/wtf8.h"

namespace app {
namespace {

constexpr char16_t kFirstPrintable = 0x20;
constexpr char16_t kLastPrintable = 0x7E;
constexpr std::string_view kHexDigits = "0123456789abcdef";
constexpr unsigned kBitsPerDigit = 4;
constexpr unsigned kDigitMask = 0xF;
constexpr std::size_t kUnitDigits = 4;

void AppendUnitEscape(std::string& out, char16_t unit) {
  out += "\\u";
  for (std::size_t left = kUnitDigits; left > 0; --left) {
    out += kHexDigits[(unit >> (kBitsPerDigit * (left - 1))) & kDigitMask];
  }
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view wtf8) {
  out += '"';
  for (char16_t unit : text::Wtf8ToUtf16<char16_t>(wtf8)) {
    if (unit == u'"' || unit == u'\\') {
      out += '\\';
      out += static_cast<char>(unit);
    } else if (unit >= kFirstPrintable && unit <= kLastPrintable) {
      out += static_cast<char>(unit);
    } else {
      AppendUnitEscape(out, unit);
    }
  }
  out += '"';
}

namespace {

void AppendValue(std::string& out, const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return AppendJsonString(out, *text);
  if (const auto* number = std::get_if<std::uint32_t>(&value)) {
    out += std::to_string(*number);
    return;
  }
  if (const auto* truth = std::get_if<bool>(&value)) {
    out += *truth ? "true" : "false";
    return;
  }
  out += "null";
}

void AppendObject(std::string& out, const ListedProgram& program) {
  out += '{';
  bool first = true;
  for (const ListedField& field : ListedFields()) {
    if (!first) out += ',';
    first = false;
    AppendJsonString(out, field.key);
    out += ':';
    AppendValue(out, field.value(program));
  }
  out += '}';
}

}  // namespace

std::string ListJson(const std::vector<ListedProgram>& programs) {
  if (programs.empty()) return "[]\n";
  std::string out = "[\n";
  for (std::size_t i = 0; i < programs.size(); ++i) {
    out += "  ";
    AppendObject(out, programs[i]);
    out += i + 1 < programs.size() ? ",\n" : "\n";
  }
  out += "]\n";
  return out;
}

}  // namespace app
