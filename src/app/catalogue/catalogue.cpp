#include "app/catalogue/catalogue.h"

#include "app/entry/uninstall_command.h"
#include "platform/text.h"

namespace app {
namespace {

void SortLines(std::vector<CatalogueLine>& lines, const platform::TextOrder& order) {
  std::vector<const std::string*> texts;
  texts.reserve(lines.size());
  for (const CatalogueLine& line : lines) texts.push_back(&line.text);
  std::vector<CatalogueLine> sorted;
  sorted.reserve(lines.size());
  for (std::size_t i : order.StableOrder(texts)) sorted.push_back(std::move(lines[i]));
  lines = std::move(sorted);
}

// The text "All Programs" is sorted by.
std::string ProgramLineText(const ProgramEntry& program) {
  return program.name + std::string(kEntrySeparator) + program.command;
}

}  // namespace

std::vector<ScanPass> UninstallPasses(platform::RawRegistry& registry) {
  // On 32-bit Windows the 64-bit flag is ignored and would read the machine's key again. The
  // user's key is shared by both views everywhere.
  std::vector<ScanPass> passes{{RegistryView::kDefault, UninstallRoot::kMachine}};
  if (registry.HasSeparate64BitView()) {
    passes.push_back({RegistryView::k64Bit, UninstallRoot::kMachine});
  }
  passes.push_back({RegistryView::kDefault, UninstallRoot::kUser});
  return passes;
}

void AddToCatalogue(Catalogue& catalogue, ScannedProgram scanned) {
  // A key set aside by a removal that did not finish is no program: the start finishes it.
  if (scanned.set_aside) {
    catalogue.set_aside_found = true;
    return;
  }
  ProgramEntry& program = scanned.program;
  if (scanned.date) catalogue.dated.push_back({*scanned.date + " " + program.name, program});
  std::string text = ProgramLineText(program);
  catalogue.programs.push_back({std::move(text), std::move(program)});
}

Catalogue ScanCatalogue(ScanSeams seams, const std::vector<ScanPass>& passes,
                        const Options& options) {
  Catalogue catalogue;
  for (ScannedProgram& scanned : ScanPasses(seams, passes, options)) {
    AddToCatalogue(catalogue, std::move(scanned));
  }
  return catalogue;
}

std::vector<std::size_t> AllProgramsOrder(const std::vector<ScannedProgram>& scanned,
                                          const platform::TextOrder& order) {
  std::vector<std::size_t> listed;
  std::vector<std::string> texts;
  for (std::size_t i = 0; i < scanned.size(); ++i) {
    if (scanned[i].set_aside) continue;
    listed.push_back(i);
    texts.push_back(ProgramLineText(scanned[i].program));
  }
  std::vector<const std::string*> sorted_texts;
  sorted_texts.reserve(texts.size());
  for (const std::string& text : texts) sorted_texts.push_back(&text);
  std::vector<std::size_t> positions;
  positions.reserve(listed.size());
  for (std::size_t i : order.StableOrder(sorted_texts)) positions.push_back(listed[i]);
  return positions;
}

void SortCatalogue(Catalogue& catalogue, const platform::TextOrder& order) {
  SortLines(catalogue.programs, order);
  SortLines(catalogue.dated, order);
}

std::vector<ProgramEntry> RecentPrograms(const Catalogue& catalogue) {
  std::vector<ProgramEntry> recent;
  for (auto line = catalogue.dated.rbegin();
       line != catalogue.dated.rend() && recent.size() < kRecentItems; ++line) {
    recent.push_back(line->program);
  }
  return recent;
}

std::vector<InitialGroup> GroupByInitial(const std::vector<CatalogueLine>& programs) {
  // One group per letter, then the rest, each named by its one character.
  constexpr std::string_view kGroups = "ABCDEFGHIJKLMNOPQRSTUVWXYZ#";
  constexpr std::size_t kOther = kGroups.size() - 1;
  std::vector<std::vector<std::size_t>> members(kGroups.size());
  for (std::size_t i = 0; i < programs.size(); ++i) {
    const std::string& name = programs[i].program.name;
    const char initial = name.empty() ? '\0' : text::UpperAscii(name.substr(0, 1))[0];
    const bool letter = initial >= 'A' && initial <= 'Z';
    members[letter ? static_cast<std::size_t>(initial - 'A') : kOther].push_back(i);
  }
  std::vector<InitialGroup> groups;
  for (std::size_t group = 0; group < kGroups.size(); ++group) {
    if (members[group].empty()) continue;
    groups.push_back({std::string(kGroups.substr(group, 1)), std::move(members[group])});
  }
  return groups;
}

std::optional<std::string> StillInstalled(const Catalogue& catalogue, std::string_view last) {
  if (last.empty()) return std::nullopt;
  for (const CatalogueLine& line : catalogue.programs) {
    if (text::EqualsIgnoringAsciiCase(last, UninstallCommand(line.program))) {
      return line.program.name;
    }
  }
  return std::nullopt;
}

}  // namespace app
