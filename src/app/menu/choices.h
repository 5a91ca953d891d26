#pragma once

// What each generated item's choice comes to, as actions: the plans are made here, their work
// and their verdicts are the features' own (launch, quiet, orphans, processes).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/entry/program_entry.h"
#include "app/menu/action.h"
#include "platform/platform.h"

namespace app {

// The chosen program's uninstaller started as registered, or the box that says why not: for an
// orphaned entry, the offer to take it off the list.
ActionWork UninstallAction(platform::Platform& system, const ProgramEntry& program);

// With Shift: the question, then the uninstall without the program's own questions and the box
// that says how it ended. Nothing when its installer registered no such way: the usual
// uninstaller is the choice then.
std::optional<Verdict> QuietUninstallChoice(platform::Platform& system,
                                            const ProgramEntry& program);

// Every process of that name ended, with administrator rights; the auto-close follows. Nothing
// when there is no system folder to start taskkill from.
std::optional<ActionWork> KillAction(platform::Launcher& launcher, const std::string& process_name);

// What the record's uninstall left behind, found again on a worker, then the review; nothing
// found is said, and the record let go.
ActionWork FindLeftoversAction(platform::Platform& system, KeptRecord kept);

// The items checked in the review removed into the stores, then the box that says how; the
// machine's items, which the user's review cannot remove, are reviewed next by the elevated
// instance.
ActionWork RemoveLeftoversAction(platform::Platform& system, LeftoverReview review,
                                 std::vector<LeftoverItem> checked);

// After a quiet uninstall that removed the program: the result, and the offer to review what
// it left behind when it left anything.
Verdict LeftBehindVerdict(platform::Platform& system, Box result, const std::string& name,
                          const std::string& record_folder);

// A page of the maker's site opened in the web browser; end: the program ends then.
ActionWork PageAction(platform::Launcher& launcher, std::string_view path, bool end);

}  // namespace app
