#include "app/entry_rules.h"

#include <algorithm>
#include <array>

#include "app/windows_installer.h"
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

bool IsWindowsInstallerProduct(const EntryFacts& facts) {
  return facts.windows_installer == 1u && IsProductCode(facts.key_name);
}

bool ShownByWindows(const EntryFacts& facts) {
  if (facts.system_component.value_or(0) != 0) return false;
  if (!facts.parent_key_name.empty()) return false;
  if (IsUpdate(facts.release_type)) return false;
  return facts.has_command || IsWindowsInstallerProduct(facts);
}

}  // namespace app
