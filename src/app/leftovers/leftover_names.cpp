#include "app/leftovers/leftover_names.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/leftovers/leftover_paths.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kBlanks = " \t";

// Company forms a publisher's name may end in; the folder is often named without them.
constexpr std::array<std::string_view, 16> kCompanyForms = {
    "Inc.", "Inc",  "Corp.", "Corp", "Corporation", "Ltd.", "Ltd", "Limited",
    "LLC",  "GmbH", "AG",    "S.A.", "SA",          "B.V.", "BV",  "Co."};

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A folder or key name part: no separators, not blank.
bool IsPart(std::string_view part) {
  return !part.empty() && part.find_first_of("\\/") == std::string_view::npos && part != "." &&
         part != "..";
}

std::string_view WithoutCompanyForm(std::string_view publisher) {
  for (const std::string_view form : kCompanyForms) {
    if (publisher.size() <= form.size()) continue;
    const std::string_view tail = publisher.substr(publisher.size() - form.size());
    const char before = publisher[publisher.size() - form.size() - 1];
    if (!text::EqualsIgnoringAsciiCase(tail, form) || (before != ' ' && before != ',')) continue;
    std::string_view head = publisher.substr(0, publisher.size() - form.size());
    while (!head.empty() && (head.back() == ' ' || head.back() == ',')) head.remove_suffix(1);
    return head;
  }
  return publisher;
}

// "Widget 2.1.0" without its version: a last word of digits and dots, maybe with a "v" first.
std::string_view WithoutVersion(std::string_view name) {
  const std::size_t blank = name.find_last_of(kBlanks);
  if (blank == std::string_view::npos) return name;
  std::string_view word = name.substr(blank + 1);
  if (!word.empty() && (word.front() == 'v' || word.front() == 'V')) word.remove_prefix(1);
  const bool version = !word.empty() &&
                       word.find_first_not_of("0123456789.") == std::string_view::npos &&
                       word.front() != '.';
  return version ? Trimmed(name.substr(0, blank)) : name;
}

std::string_view WithoutPublisher(std::string_view name, std::string_view publisher) {
  if (publisher.empty() || name.size() <= publisher.size() + 1) return name;
  if (!text::EqualsIgnoringAsciiCase(name.substr(0, publisher.size()), publisher)) return name;
  if (name[publisher.size()] != ' ') return name;
  return Trimmed(name.substr(publisher.size() + 1));
}

void AddOnce(std::vector<std::string>& names, std::string_view first, std::string_view second) {
  first = Trimmed(first);
  second = Trimmed(second);
  if (!IsPart(first) || !IsPart(second)) return;
  std::string name = std::string(first) + "\\" + std::string(second);
  const auto same = [&name](const std::string& known) {
    return text::EqualsIgnoringAsciiCase(known, name);
  };
  if (std::none_of(names.begin(), names.end(), same)) names.push_back(std::move(name));
}

}  // namespace

std::vector<std::string> LeftoverNames(const NamedFacts& facts,
                                       const std::vector<std::string>& program_files_roots) {
  std::vector<std::string> names;
  for (const std::string& root : program_files_roots) {
    if (facts.install_location.empty() || !IsInside(facts.install_location, root)) continue;
    const std::vector<std::string> parts = PathParts(facts.install_location);
    if (parts.size() >= PathParts(root).size() + 2) {
      AddOnce(names, parts[parts.size() - 2], parts.back());
    }
  }
  const std::string_view full_publisher = Trimmed(facts.publisher);
  const std::string_view name = Trimmed(facts.name);
  for (const std::string_view publisher : {full_publisher, WithoutCompanyForm(full_publisher)}) {
    for (const std::string_view product :
         {name, WithoutVersion(name), WithoutPublisher(name, full_publisher),
          WithoutPublisher(WithoutVersion(name), full_publisher), WithoutPublisher(name, publisher),
          WithoutPublisher(WithoutVersion(name), publisher)}) {
      AddOnce(names, publisher, product);
    }
  }
  return names;
}

std::vector<std::string> WithoutShared(std::vector<std::string> names,
                                       const std::vector<std::string>& others) {
  std::erase_if(names, [&others](const std::string& name) {
    return std::any_of(others.begin(), others.end(), [&name](const std::string& other) {
      return text::EqualsIgnoringAsciiCase(name, other);
    });
  });
  return names;
}

}  // namespace app
