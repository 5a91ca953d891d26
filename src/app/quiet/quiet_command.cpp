#include "app/quiet/quiet_command.h"

#include "app/catalogue/entry_rules.h"
#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/entry/windows_installer.h"
#include "platform/registry.h"

namespace app {
std::string QuietCommand(const ProgramEntry& program, bool elevated) {
  if (!IsBlankCommand(program.quiet_command)) return program.quiet_command;
  if (!program.windows_installer) return {};
  const bool per_machine = program.view != EntryView::kUser;
  const std::string_view mode = per_machine && !elevated ? kInstallerPassive : kInstallerQuiet;
  return InstallerRemoveCommand(program.product_code) + std::string(mode);
}

std::optional<LaunchPlan> PlanQuietUninstall(const ProgramEntry& program, const PathSystem& system,
                                             bool elevated) {
  ProgramEntry quiet = program;
  quiet.command = QuietCommand(program, elevated);
  quiet.windows_installer = false;
  if (IsBlankCommand(quiet.command)) return std::nullopt;
  LaunchPlan plan = PlanUninstall(quiet, system);
  if (plan.kind != LaunchKind::kStart) return std::nullopt;
  return plan;
}

ProgramEntry WithQuietFacts(platform::RawRegistry& registry, ProgramEntry program) {
  EntryKey key(registry, program);
  if (!key.IsOpen()) return program;
  const QuietFacts facts = ReadQuietFacts(key.Values(), program.key_name);
  return WithQuietFacts(std::move(program), facts);
}

ProgramEntry WithQuietFacts(ProgramEntry program, const QuietFacts& facts) {
  program.quiet_command = facts.quiet_command;
  program.windows_installer = facts.windows_installer;
  return program;
}

bool EntryListed(platform::RawRegistry& registry, const ProgramEntry& program) {
  return EntryKey(registry, program).IsOpen();
}

bool ListedAfterRun(platform::RawRegistry& registry, platform::Launcher& launcher,
                    const ProgramEntry& program, bool run_ended) {
  bool listed = EntryListed(registry, program);
  for (std::uint32_t waited = 0; listed && run_ended && waited < kQuietGraceMs;
       waited += kQuietPollMs) {
    launcher.Pause(kQuietPollMs);
    listed = EntryListed(registry, program);
  }
  return listed;
}

}  // namespace app
