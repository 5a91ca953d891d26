// The choices about what an uninstall left behind: the finder, the review and the removal, as
// actions whose work runs on a worker.

#include <algorithm>

#include "app/command_line/arguments.h"
#include "app/command_line/command_line.h"
#include "app/leftovers/leftover_finder.h"
#include "app/leftovers/record_keeping.h"
#include "app/leftovers/removal_set.h"
#include "app/menu/choices.h"
#include "app/orphans/machine_store.h"
#include "app/texts/texts.h"

namespace app {
namespace {

constexpr std::uint32_t kLeftBehindQuestionStyle =
    platform::kMbYesNo | platform::kMbIconInformation;

bool HasMachineItems(platform::Platform& system, const LeftoverReview& review) {
  return std::any_of(review.items.begin(), review.items.end(),
                     [&](const LeftoverItem& item) { return IsMachineItem(system, item); });
}

// The elevated instance, started to review the machine's items of the record; it says itself
// how that went, and this instance ends.
ActionWork MachineReviewAction(platform::Platform& system, std::string record_folder) {
  return [&system, record_folder = std::move(record_folder)](std::stop_token) {
    platform::Launcher& launcher = system.launcher;
    const std::string own_file = launcher.OwnProgramFile();
    if (!RunsFromAdministratorsFolder(system.file_store, own_file)) {
      return Verdict{Box{std::string(kMachineReviewFromUserFolderText), platform::kMbIconWarning}};
    }
    platform::Started started = launcher.Start(platform::StartSpec{
        .program = own_file,
        .parameters = JoinedArguments({std::string(kReviewMachineLeftoversVerb), record_folder}),
        .elevation = platform::Elevation::kAlways,
        .allow_foreground = true,
    });
    if (started.Error() == platform::kStartOk || started.Error() == platform::kErrorCancelled) {
      return Verdict{};
    }
    return Verdict{Box{MachineReviewFailedText(launcher.ErrorText(started.Error(), own_file)),
                       platform::kMbIconWarning}};
  };
}

}  // namespace

ActionWork FindLeftoversAction(platform::Platform& system, KeptRecord kept) {
  return [&system, kept = std::move(kept)](std::stop_token) {
    std::vector<LeftoverItem> items = FindLeftovers(system, kept.record);
    if (items.empty()) {
      RetireRecord(system.file_store, kept);
      return Verdict{Box{NothingLeftBehindText(kept.record.name), platform::kMbIconInformation}};
    }
    return Verdict{.review = ReviewOf(kept, std::move(items), false)};
  };
}

ActionWork RemoveLeftoversAction(platform::Platform& system, LeftoverReview review,
                                 std::vector<LeftoverItem> checked) {
  return [&system, review = std::move(review), checked = std::move(checked)](std::stop_token) {
    const bool machine_next = !review.machine && HasMachineItems(system, review);
    Verdict verdict;
    if (!checked.empty()) {
      const std::vector<LeftoverItem> offered = FindLeftovers(system, review.kept.record);
      const LeftoverRemoval removal =
          review.machine ? RemoveMachineLeftoversHere(system, review.kept, checked, offered)
                         : RemoveLeftovers(system, review.kept, checked, offered);
      std::string text = RemovalSummary(removal);
      if (machine_next) text += "\r\n\r\n" + std::string(kMachineItemsNextText);
      verdict.box = Box{std::move(text), platform::kMbIconInformation};
    }
    if (machine_next) verdict.next = MachineReviewAction(system, review.kept.folder);
    return verdict;
  };
}

Verdict LeftBehindVerdict(platform::Platform& system, Box result, const std::string& name,
                          const std::string& record_folder) {
  const std::optional<KeptRecord> kept = ReadKeptRecord(system.file_store, record_folder);
  if (!kept) return Verdict{std::move(result)};
  std::vector<LeftoverItem> items = FindLeftovers(system, kept->record);
  if (items.empty()) {
    RetireRecord(system.file_store, *kept);
    return Verdict{std::move(result)};
  }
  result.text = LeftBehindQuestion(result.text, name, items.size());
  result.style = kLeftBehindQuestionStyle;
  return Verdict{.box = std::move(result), .review = ReviewOf(*kept, std::move(items), false)};
}

}  // namespace app
