#include "app/menu/machine_review.h"

#include <algorithm>

#include "app/command_line/command_line.h"
#include "app/leftovers/leftover_finder.h"
#include "app/leftovers/leftover_removal.h"
#include "app/leftovers/leftover_review.h"
#include "app/menu/review_form.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {
namespace {

// The machine's items, each checked only when the step that takes items unasked would take it.
std::vector<LeftoverItem> MachineItems(platform::Platform& platform, const KeptRecord& kept) {
  std::vector<LeftoverItem> items = FindLeftovers(platform, kept.record);
  std::erase_if(items, [&](const LeftoverItem& item) { return !IsMachineItem(platform, item); });
  for (LeftoverItem& item : items) item.certain = TakenByMachineStep(platform, item);
  return items;
}

}  // namespace

int RunMachineReview(platform::Platform& platform, const std::string& record_folder) {
  framework::TApplication application(platform);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  const auto show = [&](const std::string& text, std::uint32_t icon) {
    platform.windowing.ShowMessageBox(platform::kNoWindow, text, std::string(kTitle), icon);
  };
  const std::optional<KeptRecord> kept = ReadNamedRecord(platform.file_store, record_folder);
  if (!kept) {
    show(std::string(kRecordUnreadableText), platform::kMbIconWarning);
    return kUsageExitCode;
  }
  std::vector<LeftoverItem> items = MachineItems(platform, *kept);
  if (items.empty()) {
    show(NothingLeftBehindText(kept->record.name), platform::kMbIconInformation);
    return 0;
  }
  const LeftoverReview review = ReviewOf(*kept, std::move(items), true);
  ReviewForm& form = application.CreateForm<ReviewForm>(review);
  if (form.ShowModal() != framework::kMrOk) return 0;
  const std::vector<LeftoverItem> checked = form.CheckedItems();
  if (checked.empty()) return 0;
  const std::vector<LeftoverItem> offered = FindLeftovers(platform, kept->record);
  show(RemovalSummary(RemoveMachineLeftoversHere(platform, *kept, checked, offered)),
       platform::kMbIconInformation);
  return 0;
}

}  // namespace app
