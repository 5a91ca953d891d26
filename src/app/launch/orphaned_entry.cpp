#include "app/launch/orphaned_entry.h"

#include "app/launch/installer_entry.h"
#include "app/launch/launch_notice.h"
#include "app/launch/launch_plan.h"

namespace app {

bool IsOrphaned(const PathSystem& system, const ProgramEntry& program, const KnownProducts* known) {
  const LaunchPlan plan = PlanUninstall(program, system);
  const bool product_unknown = plan.kind == LaunchKind::kStart &&
                               IsUnknownToWindowsInstaller(program, system.launcher, known);
  return NoticeFor(plan.kind, product_unknown, platform::kStartOk) == LaunchNotice::kOfferRemoval;
}

}  // namespace app
