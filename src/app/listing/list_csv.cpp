#include "app/listing/list_csv.h"

#include <string_view>

#include "app/listing/listed_fields.h"
#include "platform/wtf8.h"

namespace app {
namespace {

constexpr std::string_view kRowEnd = "\r\n";
constexpr char kSeparator = ',';
constexpr char kQuote = '"';
constexpr char kTextMark = '\'';
constexpr std::string_view kFormulaStarts = "=+-@\t\r";
constexpr std::string_view kQuotedOnes = ",\"\r\n";

// The text with each unpaired surrogate as U+FFFD; all else as it was.
std::string Utf8Of(std::string_view wtf8) {
  using namespace text::wtf8_detail;
  std::u16string units = text::Wtf8ToUtf16<char16_t>(wtf8);
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (IsHigh(units[i]) && i + 1 < units.size() && IsLow(units[i + 1])) {
      ++i;
    } else if (IsHigh(units[i]) || IsLow(units[i])) {
      units[i] = static_cast<char16_t>(kReplacement);
    }
  }
  return text::Utf16ToWtf8(std::u16string_view(units));
}

std::string TextOf(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return Utf8Of(*text);
  if (const auto* number = std::get_if<std::uint32_t>(&value)) return std::to_string(*number);
  if (const auto* truth = std::get_if<bool>(&value)) return *truth ? "true" : "false";
  return {};
}

void AppendCell(std::string& out, std::string_view cell) {
  const bool formula = !cell.empty() && kFormulaStarts.find(cell.front()) != std::string_view::npos;
  const bool quoted = formula || cell.find_first_of(kQuotedOnes) != std::string_view::npos;
  if (!quoted) {
    out += cell;
    return;
  }
  out += kQuote;
  if (formula) out += kTextMark;
  for (char c : cell) {
    if (c == kQuote) out += kQuote;
    out += c;
  }
  out += kQuote;
}

template <typename CellOf>
void AppendRow(std::string& out, CellOf cell_of) {
  bool first = true;
  for (const ListedField& field : ListedFields()) {
    if (!first) out += kSeparator;
    first = false;
    AppendCell(out, cell_of(field));
  }
  out += kRowEnd;
}

}  // namespace

std::string ListCsv(const std::vector<ListedProgram>& programs) {
  std::string out;
  AppendRow(out, [](const ListedField& field) { return std::string(field.key); });
  for (const ListedProgram& program : programs) {
    AppendRow(out, [&program](const ListedField& field) { return TextOf(field.value(program)); });
  }
  return out;
}

}  // namespace app
