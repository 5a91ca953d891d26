#include "app/catalogue/catalogue_scan.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <functional>
#include <numeric>

#include "app/catalogue/entry_rules.h"
#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/entry/windows_installer.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::size_t kDateLength = 8;
constexpr std::string_view kExeSuffix = ".EXE";

// "5/1/2023" or "01.05.23" would sort among real dates as if it were one.
bool IsDate(std::string_view value) {
  return value.size() == kDateLength &&
         std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// FindFirstFile takes "*" and "?" as wildcards: such a path would date the entry by whichever
// file happens to match.
bool NamesOneFile(std::string_view path) {
  return !path.empty() && path.find_first_of("*?") == std::string_view::npos;
}

EntryView ViewOf(ScanPass pass) {
  if (pass.root == UninstallRoot::kUser) return EntryView::kUser;
  return pass.view == RegistryView::k64Bit ? EntryView::kMachine64 : EntryView::kMachineDefault;
}

std::uint32_t AccessOf(ScanPass pass) {
  return platform::kKeyRead | UninstallKeyPlace(ViewOf(pass)).view_access;
}

// The pass's uninstall key, opened in registry; false when it cannot be.
bool OpenUninstallKey(platform::TRegistry& registry, ScanPass pass) {
  const EntryKeyPlace place = UninstallKeyPlace(ViewOf(pass));
  registry.SelectRoot(place.root);
  return registry.OpenPath(place.path, platform::IfMissing::kFail);
}

// The file an upper-cased uninstall command dates the entry by: up to and including its first
// ".EXE", without a leading quote. Not the program the launch starts: the Recent list has
// always been dated by this text.
std::string CommandFile(const std::string& command) {
  const std::size_t at = text::Pos(kExeSuffix, command);
  std::string path = command.substr(0, at == 0 ? 3 : at + 3);
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  return path;
}

std::string FormatDate(const platform::Date& date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year % 10000, date.month % 100,
                date.day % 100);
  return buffer;
}

bool IsMicrosoftName(const std::string& name) {
  const std::string upper = text::UpperAscii(name);
  return text::Pos("WINDOWS", upper) != 0 || text::Pos("MICROSOFT", upper) != 0;
}

// Reads the entries of one pass through one open entry key at a time. Under Wine each value read
// is a round trip to the registry's server, so a value is read only when a rule needs it, and
// the rules are asked in the order that leaves an entry out soonest.
class EntryReader {
 public:
  // drives: the run's one drive cache, shared by every range.
  EntryReader(platform::TRegistry& entry, platform::FileDates& files, RemoteDrives& drives,
              const Options& options, EntryView view)
      : entry_(entry), files_(files), drives_(drives), options_(options), view_(view) {}

  // Appends the program of the entry's open key, when it has one that the options let through.
  // The program is appended before its date is sought: a date that cannot be read costs the
  // date alone.
  void Read(const std::string& key_name, std::vector<ScannedProgram>& found) {
    if (!entry_.HasValue(kDisplayNameValue)) return;
    // Read even when such entries are shown: one whose flag cannot be read is left out.
    if (entry_.HasValue(kNoRemoveValue) && entry_.ReadFlag(kNoRemoveValue) &&
        !options_.show_no_remove) {
      return;
    }
    const std::string name = entry_.ReadText(kDisplayNameValue);
    if (name.empty()) return;
    if (options_.hide_microsoft && IsMicrosoftName(name)) return;
    EntryFacts facts(entry_, key_name);
    const bool windows_list = !options_.show_system_components;
    if (windows_list && IsPartOfAnother(facts)) return;
    ProgramEntry program;
    program.command = entry_.ReadText(kUninstallStringValue);
    if (program.command.empty()) {
      program.quiet_command = entry_.ReadText(kQuietUninstallStringValue);
      program.command = program.quiet_command;
    }
    if (windows_list && !HasSomethingToRun(facts, program.command)) return;
    program.name = name;
    program.view = view_;
    program.key_name = key_name;
    if (IsProductCode(key_name)) program.product_code = key_name;
    // Only an entry without a command of its own is removed by its product code.
    program.windows_installer = IsBlankCommand(program.command) && IsWindowsInstallerProduct(facts);
    found.push_back(ScannedProgram{std::move(program), std::nullopt});
    found.back().date = InstallDate(found.back());
    if (options_.list_details) found.back().details = Details(key_name);
  }

 private:
  // The entry's date: its "InstallDate", or else the date of its uninstaller's file, or else of
  // its icon's file. The icon value read for it is kept for the icon.
  std::optional<std::string> InstallDate(ScannedProgram& scanned) {
    if (entry_.HasValue(kInstallDateValue)) {
      std::string date = entry_.ReadText(kInstallDateValue);
      if (!IsDate(date)) return std::nullopt;
      return date;
    }
    scanned.date_from = DateFrom::kFileDate;
    ProgramEntry& program = scanned.program;
    const std::string file = CommandFile(text::UpperAscii(entry_.ReadText(kUninstallStringValue)));
    if (!file.empty() && !IsSystemRunner(file)) {
      if (auto date = FileDate(file)) return date;
    }
    program.display_icon = entry_.ReadText(kDisplayIconValue);
    return FileDate(std::string(text::Before(*program.display_icon, ",")));
  }

  EntryDetails Details(const std::string& key_name) {
    return EntryDetails{.version = entry_.ReadTextIfText(kDisplayVersionValue),
                        .publisher = entry_.ReadTextIfText(kPublisherValue),
                        .size_kb = entry_.ReadDwordIfDword(kEstimatedSizeValue),
                        .quiet = ReadQuietFacts(entry_, key_name)};
  }

  std::optional<std::string> FileDate(const std::string& path) {
    if (!NamesOneFile(path) || !MayOpen(path, drives_)) return std::nullopt;
    const auto date = files_.LastWriteDate(path);
    if (!date) return std::nullopt;
    return FormatDate(*date);
  }

  platform::TRegistry& entry_;
  platform::FileDates& files_;
  RemoteDrives& drives_;
  const Options options_;
  const EntryView view_;
};

// Reads a range with keys of this job's own: the uninstall key, and each entry opened relative
// to it, for as long as it is read.
void AppendRange(ScanSeams seams, const ScanRange& range, const Options& options,
                 std::vector<ScannedProgram>& found) {
  platform::TRegistry uninstall(seams.registry, AccessOf(range.pass));
  if (!OpenUninstallKey(uninstall, range.pass)) return;
  std::string subkey;
  for (std::uint32_t index = range.first; index < range.last; ++index) {
    // An index that fails (the key changed meanwhile) contributes nothing.
    if (!uninstall.ReadSubkeyName(index, subkey)) continue;
    if (range.pass.root == UninstallRoot::kUser && IsSetAsideName(subkey)) {
      found.push_back(ScannedProgram{ProgramEntry{}, std::nullopt, true});
      continue;
    }
    platform::TRegistry entry(seams.registry, AccessOf(range.pass));
    entry.SelectParent(uninstall);
    // One unreadable entry costs that entry alone, not the rest of the key.
    try {
      if (!entry.OpenPath(subkey, platform::IfMissing::kFail)) continue;
      EntryReader(entry, seams.files, seams.drives, options, ViewOf(range.pass))
          .Read(subkey, found);
    } catch (const std::exception&) {
      // Its values could not be read: the entry is left out, the scan goes on with the next.
    }
  }
}

std::uint32_t SubkeyCount(platform::RawRegistry& raw, ScanPass pass) {
  platform::TRegistry uninstall(raw, AccessOf(pass));
  return OpenUninstallKey(uninstall, pass) ? uninstall.SubkeyCount() : 0;
}

}  // namespace

std::optional<ProgramEntry> ReadEntryProgram(ScanSeams seams, EntryView view,
                                             const std::string& key_name) {
  const EntryKeyPlace place = KeyPlaceOf(view, key_name);
  platform::TRegistry entry(seams.registry, platform::kKeyRead | place.view_access);
  entry.SelectRoot(place.root);
  const Options everything{
      .hide_microsoft = false, .show_no_remove = true, .show_system_components = true};
  std::vector<ScannedProgram> found;
  try {
    if (!entry.OpenPath(place.path, platform::IfMissing::kFail)) return std::nullopt;
    EntryReader(entry, seams.files, seams.drives, everything, view).Read(key_name, found);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (found.empty()) return std::nullopt;
  return std::move(found.front().program);
}

std::vector<ScanRange> PlanRanges(platform::RawRegistry& registry,
                                  const std::vector<ScanPass>& passes, const ScanBudget& budget) {
  std::vector<ScanRange> ranges;
  for (const ScanPass& pass : passes) {
    const std::uint64_t count = SubkeyCount(registry, pass);
    if (count == 0) continue;
    const std::size_t pieces = RangesPerPass(count, budget);
    for (std::size_t piece = 0; piece < pieces; ++piece) {
      ranges.push_back(ScanRange{pass, static_cast<std::uint32_t>(count * piece / pieces),
                                 static_cast<std::uint32_t>(count * (piece + 1) / pieces)});
    }
  }
  return ranges;
}

std::vector<std::size_t> LargestFirst(const std::vector<ScanRange>& ranges) {
  std::vector<std::size_t> order(ranges.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return ranges[a].last - ranges[a].first > ranges[b].last - ranges[b].first;
  });
  return order;
}

std::vector<ScannedProgram> ReadRange(ScanSeams seams, const ScanRange& range,
                                      const Options& options) {
  std::vector<ScannedProgram> found;
  AppendRange(seams, range, options, found);
  return found;
}

std::vector<ScannedProgram> ScanPasses(ScanSeams seams, const std::vector<ScanPass>& passes,
                                       const Options& options) {
  // One range a pass: the order is the ranges' anyway.
  std::vector<ScannedProgram> all;
  for (const ScanRange& range : PlanRanges(seams.registry, passes, ScanBudget{})) {
    AppendRange(seams, range, options, all);
  }
  return all;
}

}  // namespace app
