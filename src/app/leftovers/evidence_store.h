#pragma once

// The records kept before uninstallers start: a folder each, in the user's own folder of the
// program, holding the record and an exact copy of the entry's key.

#include <optional>
#include <string>
#include <string_view>

#include "app/entry/program_entry.h"
#include "app/launch/launch_plan.h"
#include "app/leftovers/evidence_record.h"
#include "platform/platform.h"
#include "platform/registry.h"

namespace app {

inline constexpr std::string_view kRecordFileName = "record.txt";
inline constexpr std::string_view kRecordCopyName = "entry.reg";

// "<local app data>\Quillon\Tapwise Uninstaller\Uninstall records"; empty without a folder.
std::string RecordsFolder(const std::string& local_app_data);

// What the program's entry says now, and where its uninstaller and icon lie by the registered
// paths' rules. A system runner (msiexec, rundll32, cmd) is no folder of the program's.
EvidenceRecord RecordOf(platform::Platform& platform, const ProgramEntry& program,
                        const LaunchPlan& plan);

// The same, from the entry's key already open (values), or from nothing when it is gone.
EvidenceRecord RecordFromValues(platform::Platform& platform, const ProgramEntry& program,
                                const LaunchPlan& plan, platform::TRegistry* values);

// Keeps the record and the entry's copy in a new folder, just before the plan's uninstaller
// starts; the folder, or nothing when they could not be kept. Nothing here may stop the
// uninstall: a failure only means that nothing can be found afterwards.
std::optional<std::string> KeepEvidence(platform::Platform& platform, const ProgramEntry& program,
                                        const LaunchPlan& plan);

}  // namespace app
