#pragma once

// The catalogue: what the uninstall registry lists, as the program's two lists. Plain data made
// by plain functions; the menus are filled from it elsewhere.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/catalogue/catalogue_scan.h"
#include "app/entry/options.h"
#include "app/entry/program_entry.h"
#include "platform/platform.h"
#include "platform/text_order.h"

namespace app {

// Separates the display name from the command in a program-list line.
inline constexpr std::string_view kEntrySeparator = "<#>";
// How many programs "Recent Programs" holds.
inline constexpr std::size_t kRecentItems = 8;

// A listed program with the text it is sorted by.
struct CatalogueLine {
  std::string text;
  ProgramEntry program;
};

struct Catalogue {
  // Every listed program, as "name<#>command".
  std::vector<CatalogueLine> programs;
  // Every listed program with an install date, as "yyyymmdd name".
  std::vector<CatalogueLine> dated;
  // A per-user key was found set aside by a removal that did not finish.
  bool set_aside_found = false;
};

// The passes that read each uninstall key once: the machine's key in the default view, in the
// 64-bit view where that is another key, and the user's key.
std::vector<ScanPass> UninstallPasses(platform::RawRegistry& registry);

// One scanned program added to both lists as it belongs.
void AddToCatalogue(Catalogue& catalogue, ScannedProgram scanned);

// What the passes find, in pass order and then subkey order, unsorted, read on the calling
// thread.
Catalogue ScanCatalogue(ScanSeams seams, const std::vector<ScanPass>& passes,
                        const Options& options);

// The positions of the scanned programs (set-aside keys left out) in the order SortCatalogue
// gives "All Programs".
std::vector<std::size_t> AllProgramsOrder(const std::vector<ScannedProgram>& scanned,
                                          const platform::TextOrder& order);

// Both lists put in the platform's order of sorted lists; equal lines keep their order.
void SortCatalogue(Catalogue& catalogue, const platform::TextOrder& order);

// The programs installed last, newest first: at most kRecentItems.
std::vector<ProgramEntry> RecentPrograms(const Catalogue& catalogue);

// "All Programs" is split into groups by initial once it would hold more items than this: one
// popup takes only so many, and a long one is slow to fill and to search.
inline constexpr std::size_t kMostProgramsInOneMenu = 3000;

// The programs of one initial, as positions in the program list, in its order.
struct InitialGroup {
  std::string caption;  // "A" to "Z", or "#" for every other initial
  std::vector<std::size_t> programs;
};

// The non-empty groups of the program list, "A" to "Z" then "#".
std::vector<InitialGroup> GroupByInitial(const std::vector<CatalogueLine>& programs);

// The display name of the first listed program whose command is the last one started, ASCII
// letter case aside; none when there is none.
std::optional<std::string> StillInstalled(const Catalogue& catalogue, std::string_view last);

}  // namespace app
