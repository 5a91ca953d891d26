#include "app/orphans/removal_prompt.h"

#include "app/texts/texts.h"

namespace app {
namespace {

constexpr std::uint32_t kQuestionStyle =
    platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2;
constexpr std::uint32_t kGoodNews = platform::kMbOk | platform::kMbIconInformation;
constexpr std::uint32_t kBadNews = platform::kMbOk | platform::kMbIconWarning;

std::string WithReason(std::string text, const std::string& reason) {
  if (reason.empty()) return text;
  return text + "\r\r" + reason;
}

}  // namespace

RemovalMessage RemovalResultMessage(const std::string& name, const Removal& removal) {
  const std::string& copy = removal.copy_path;
  switch (removal.outcome) {
    case RemovalOutcome::kRemoved:
      return {EntryRemovedText(name, copy), kGoodNews};
    case RemovalOutcome::kNotRemoved:
      return {WithReason(EntryNotRemovedText(name), removal.reason), kBadNews};
    case RemovalOutcome::kPartlyRemoved:
      return {WithReason(EntryPartlyRemovedText(name, copy), removal.reason), kBadNews};
    case RemovalOutcome::kNotKnown:
      return {EntryRemovalNotKnownText(name, copy), kBadNews};
    case RemovalOutcome::kNotRead:
      return {WithReason(EntryNotReadText(name), removal.reason), kBadNews};
    case RemovalOutcome::kNotOrphaned:
      return {EntryNotOrphanedText(name), kBadNews};
    case RemovalOutcome::kStepRefused:
      return {WithReason(EntryStepRefusedText(name), removal.reason), kBadNews};
    case RemovalOutcome::kFromUserFolder:
      return {EntryFromUserFolderText(name), kBadNews};
    case RemovalOutcome::kNotCopied:
      return {WithReason(EntryNotCopiedText(name, copy), removal.reason), kBadNews};
    case RemovalOutcome::kHoldsLink:
      return {EntryHoldsLinkText(name, removal.key_path), kBadNews};
    case RemovalOutcome::kTooLarge:
      return {EntryTooLargeText(name), kBadNews};
    case RemovalOutcome::kLeftAside:
      return {WithReason(EntryLeftAsideText(name, removal.key_path, copy), removal.reason),
              kBadNews};
    case RemovalOutcome::kRewritten:
      return {EntryRewrittenText(name, copy), kBadNews};
  }
  return {WithReason(EntryNotReadText(name), removal.reason), kBadNews};
}

RemovalMessage RemovalQuestion(const std::string& question) {
  return {question, kQuestionStyle};
}

}  // namespace app
