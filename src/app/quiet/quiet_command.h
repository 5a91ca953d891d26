#pragma once

// The command that removes a program without its own questions, only ever one that its
// installer registered: another installer's "/S" often still shows boxes, and nobody would be
// there to answer them.

#include <cstdint>
#include <optional>

#include "app/catalogue/entry_rules.h"
#include "app/entry/program_entry.h"
#include "app/launch/launch_plan.h"
#include "platform/raw_registry.h"

namespace app {

// How long a quiet uninstall is waited for, and how long its entry is then watched for going,
// at which interval: an uninstaller may leave the last of its work to a program outside its own
// (one started apart from it, an elevated copy, the Windows Installer service).
inline constexpr std::uint32_t kQuietBoundMs = 10 * 60 * 1000;
inline constexpr std::uint32_t kQuietGraceMs = 10 * 1000;
inline constexpr std::uint32_t kQuietPollMs = 250;

// The Windows Installer's switches: no window at all, or progress only. Without a window it
// never asks for administrator rights, so a per-machine product removed by a program without
// them shows its progress and lets the system ask.
inline constexpr std::string_view kInstallerQuiet = " /qn";
inline constexpr std::string_view kInstallerPassive = " /passive";

// The quiet command as text: the entry's "QuietUninstallString", or for a Windows Installer
// entry msiexec's removal by its code; empty when the entry has neither.
std::string QuietCommand(const ProgramEntry& program, bool elevated);

// How the quiet command starts, by the launch rules; nothing when there is no quiet command or
// it names no program that can be started, and the usual uninstaller is then the choice.
std::optional<LaunchPlan> PlanQuietUninstall(const ProgramEntry& program, const PathSystem& system,
                                             bool elevated);

// The entry as it stands when a quiet uninstall is chosen: its "QuietUninstallString" and
// whether the Windows Installer wrote it, which the scan reads only where the list needs them,
// read again from its key. As the scan left it when the key is gone.
ProgramEntry WithQuietFacts(platform::RawRegistry& registry, ProgramEntry program);
// The same with facts already read.
ProgramEntry WithQuietFacts(ProgramEntry program, const QuietFacts& facts);

// Whether the entry's own key is still there, read in the view it was listed from.
bool EntryListed(platform::RawRegistry& registry, const ProgramEntry& program);

// Whether the entry is still listed once its uninstaller's run is over. Work outside the
// followed programs (one started apart from them, an elevated copy, the Windows Installer
// service) may finish a little later, so after a run that ended the key is read again every
// kQuietPollMs for up to kQuietGraceMs; after the bound, nothing is waited for any more.
bool ListedAfterRun(platform::RawRegistry& registry, platform::Launcher& launcher,
                    const ProgramEntry& program, bool run_ended);

}  // namespace app
