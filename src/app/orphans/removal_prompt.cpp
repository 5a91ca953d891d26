#include "app/orphans/removal_prompt.h"

#include "app/copies/exact_restore.h"
#include "app/copies/key_copy.h"
#include "app/entry/entry_key.h"
#include "app/texts/texts.h"

namespace app {
namespace {

constexpr std::uint32_t kQuestionStyle =
    platform::kMbYesNo | platform::kMbIconWarning | platform::kMbDefButton2;
constexpr std::uint32_t kGoodNews = platform::kMbOk | platform::kMbIconInformation;
constexpr std::uint32_t kBadNews = platform::kMbOk | platform::kMbIconWarning;

// More would make the question taller than a screen.
constexpr std::size_t kMostValuesNamed = 10;

std::string InexactNote(const std::vector<InexactValue>& inexact) {
  if (inexact.empty()) return {};
  std::vector<std::string> named;
  for (std::size_t i = 0; i < inexact.size() && i < kMostValuesNamed; ++i) {
    const std::string& name = inexact[i].name;
    named.push_back(inexact[i].key_path + ": " +
                    (name.empty() ? std::string(kDefaultValueName) : "\"" + name + "\""));
  }
  return InexactValuesText(named, inexact.size() - named.size());
}

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
    case RemovalOutcome::kChanged:
      return {EntryChangedText(name), kBadNews};
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

std::optional<AskedEntry> ReadAskedEntry(platform::RawRegistry& registry,
                                         const ProgramEntry& program) {
  CopiedKey entry;
  if (ReadEntryCopy(registry, program.view, program.key_name, entry) != platform::kRegOk) {
    return std::nullopt;
  }
  const std::string path =
      EntryKeyPath(program.view, registry.HasSeparate64BitView(), program.key_name);
  return AskedEntry{KeyDigest(entry), InexactNote(InexactValues(entry, path))};
}

RemovalMessage RemovalQuestion(const std::string& question) {
  return {question, kQuestionStyle};
}

}  // namespace app
