#include "app/catalogue/entry_rules.h"

#include <algorithm>
#include <array>

#include "app/entry/entry_values.h"
#include "app/entry/windows_installer.h"
#include "platform/text.h"

namespace app {
namespace {

// The releases that update another program rather than install one.
constexpr std::array<std::string_view, 5> kUpdateReleases = {
    "HOTFIX", "SECURITY UPDATE", "UPDATE ROLLUP", "UPDATE", "SERVICE PACK"};

bool IsUpdate(const std::string& release_type) {
  const std::string upper = text::UpperAscii(release_type);
  return std::find(kUpdateReleases.begin(), kUpdateReleases.end(), upper) != kUpdateReleases.end();
}

}  // namespace

std::optional<std::uint32_t> EntryFacts::SystemComponent() {
  return entry_.ReadDwordIfDword(kSystemComponentValue);
}

std::string EntryFacts::ParentKeyName() {
  return entry_.ReadTextIfText(kParentKeyNameValue).value_or("");
}

std::string EntryFacts::ReleaseType() {
  return entry_.ReadTextIfText(kReleaseTypeValue).value_or("");
}

std::optional<std::uint32_t> EntryFacts::WindowsInstaller() {
  return entry_.ReadDwordIfDword(kWindowsInstallerValue);
}

bool IsWindowsInstallerProduct(EntryFacts& facts) {
  return IsProductCode(facts.KeyName()) && facts.WindowsInstaller() == 1u;
}

QuietFacts ReadQuietFacts(platform::TRegistry& entry, std::string_view key_name) {
  EntryFacts facts(entry, key_name);
  return QuietFacts{.quiet_command = entry.ReadTextIfText(kQuietUninstallStringValue).value_or(""),
                    .windows_installer = IsWindowsInstallerProduct(facts)};
}

bool IsPartOfAnother(EntryFacts& facts) {
  if (facts.SystemComponent().value_or(0) != 0) return true;
  if (!facts.ParentKeyName().empty()) return true;
  return IsUpdate(facts.ReleaseType());
}

bool HasSomethingToRun(EntryFacts& facts, std::string_view command) {
  return !command.empty() || IsWindowsInstallerProduct(facts);
}

}  // namespace app
