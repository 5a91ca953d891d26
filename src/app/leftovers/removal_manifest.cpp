#include "app/leftovers/removal_manifest.h"

#include <array>
#include <charconv>
#include <initializer_list>

#include "app/leftovers/line_text.h"

namespace app {
namespace {

constexpr char kTab = '\t';
constexpr std::string_view kRecordFact = "record=";
constexpr std::string_view kTimeFact = "time=";
constexpr std::string_view kItemFact = "item=";
constexpr std::string_view kStepFact = "step=";
constexpr std::size_t kItemFields = 7;
constexpr std::size_t kStepFields = 3;

constexpr std::array<std::string_view, 6> kStepNames = {"copied",  "verified", "moved",
                                                        "deleted", "skipped",  "restored"};

template <typename Enum, std::size_t N>
std::optional<Enum> Named(const std::array<std::string_view, N>& names, std::string_view name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return static_cast<Enum>(i);
  }
  return std::nullopt;
}

template <typename Number>
std::optional<Number> NumberOf(std::string_view text) {
  Number number{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  if (text.size() > 1 && text.front() == '0') return std::nullopt;  // one spelling each
  return number;
}

bool IsHash(std::string_view hash) {
  return hash.size() <= kMostHashDigits &&
         hash.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

// The line's fields, each unescaped; nothing when an escape is not one.
std::optional<std::vector<std::string>> FieldsOf(std::string_view line) {
  std::vector<std::string> fields;
  while (true) {
    const std::size_t tab = line.find(kTab);
    auto field = UnescapedLineText(line.substr(0, tab));
    if (!field) return std::nullopt;
    fields.push_back(std::move(*field));
    if (tab == std::string_view::npos) return fields;
    line.remove_prefix(tab + 1);
  }
}

bool ReadItem(std::string_view line, RemovalManifest& manifest) {
  const auto fields = FieldsOf(line);
  if (!fields || fields->size() != kItemFields) return false;
  const auto& f = *fields;
  const auto number = NumberOf<std::size_t>(f[0]);
  const auto kind = Named<LeftoverKind>(kLeftoverKindNames, f[1]);
  const auto size = NumberOf<std::uint64_t>(f[5]);
  if (!number || *number != manifest.items.size() || !kind || !size || !IsHash(f[6])) return false;
  if (manifest.items.size() >= kMostManifestItems) return false;
  manifest.items.push_back(ManifestItem{*kind, f[2], f[3], f[4], *size, f[6]});
  return true;
}

bool ReadStep(std::string_view line, RemovalManifest& manifest) {
  const auto fields = FieldsOf(line);
  if (!fields || fields->size() != kStepFields) return false;
  const auto item = NumberOf<std::size_t>((*fields)[0]);
  const auto step = Named<ManifestStep>(kStepNames, (*fields)[1]);
  if (!item || *item >= manifest.items.size() || !step) return false;
  manifest.steps.push_back(ManifestStepLine{*item, *step, (*fields)[2]});
  return true;
}

bool ReadLine(std::string_view line, RemovalManifest& manifest, bool& timed) {
  if (line.starts_with(kItemFact)) {
    return manifest.steps.empty() && ReadItem(line.substr(kItemFact.size()), manifest);
  }
  if (line.starts_with(kStepFact)) return ReadStep(line.substr(kStepFact.size()), manifest);
  if (!manifest.items.empty() || !manifest.steps.empty()) return false;  // facts come first
  if (line.starts_with(kRecordFact) && manifest.record.empty()) {
    auto record = UnescapedLineText(line.substr(kRecordFact.size()));
    if (!record || record->empty()) return false;
    manifest.record = std::move(*record);
    return true;
  }
  if (line.starts_with(kTimeFact) && !timed) {
    const auto time = ReadTimeText(line.substr(kTimeFact.size()));
    if (!time) return false;
    manifest.time = *time;
    timed = true;
    return true;
  }
  return false;
}

// The fields joined by tabs, and the line's end.
std::string LineOf(std::string_view fact, std::initializer_list<std::string> fields) {
  std::string line(fact);
  bool first = true;
  for (const std::string& field : fields) {
    if (!first) line.push_back(kTab);
    line.append(field);
    first = false;
  }
  line.push_back('\n');
  return line;
}

}  // namespace

std::string ManifestHead(const RemovalManifest& manifest) {
  std::string text(kManifestFirstLine);
  text.push_back('\n');
  text.append(LineOf(kRecordFact, {EscapedLineText(manifest.record)}));
  text.append(LineOf(kTimeFact, {TimeText(manifest.time)}));
  for (std::size_t i = 0; i < manifest.items.size(); ++i) {
    const ManifestItem& item = manifest.items[i];
    text.append(
        LineOf(kItemFact, {std::to_string(i), std::string(KindName(item.kind)),
                           EscapedLineText(item.original), EscapedLineText(item.value),
                           EscapedLineText(item.stored), std::to_string(item.size), item.hash}));
  }
  return text;
}

std::string ManifestStepText(const ManifestStepLine& step) {
  return LineOf(kStepFact, {std::to_string(step.item),
                            std::string(kStepNames[static_cast<std::size_t>(step.step)]),
                            EscapedLineText(step.detail)});
}

std::optional<RemovalManifest> ReadManifest(std::string_view text) {
  if (text.size() > kMostManifestBytes) return std::nullopt;
  if (!text.starts_with(kManifestFirstLine) || text.substr(kManifestFirstLine.size(), 1) != "\n") {
    return std::nullopt;
  }
  text.remove_prefix(kManifestFirstLine.size() + 1);
  RemovalManifest manifest;
  bool timed = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    // A last line without its end was cut short by a crash: what it was to say is not known,
    // and whoever finishes the set looks at the places themselves.
    if (end == std::string_view::npos) break;
    if (!ReadLine(text.substr(0, end), manifest, timed)) return std::nullopt;
    text.remove_prefix(end + 1);
  }
  if (manifest.record.empty() || !timed) return std::nullopt;
  return manifest;
}

}  // namespace app
