#include "app/launch/installer_entry.h"

#include <string_view>

#include "app/entry/windows_installer.h"
#include "app/paths/registered_path.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kMsiExec = "MSIEXEC";
constexpr std::string_view kSwitches[] = {"/X", "/I"};
constexpr std::string_view kBlanks = " \t";

// "/X{code}" or "/I {code}" anywhere in an msiexec command, letter case aside.
bool NamesProduct(const std::string& command, const std::string& code) {
  const std::string upper = text::UpperAscii(command);
  if (upper.find(kMsiExec) == std::string::npos) return false;
  const std::string wanted = text::UpperAscii(code);
  for (const std::string_view option : kSwitches) {
    for (std::size_t at = upper.find(option); at != std::string::npos;
         at = upper.find(option, at + 1)) {
      const std::size_t start = upper.find_first_not_of(kBlanks, at + option.size());
      if (start != std::string::npos && upper.compare(start, wanted.size(), wanted) == 0) {
        return true;
      }
    }
  }
  return false;
}

}  // namespace

std::string InstallerEntryCode(const ProgramEntry& program) {
  if (!IsProductCode(program.key_name)) return {};
  if (IsBlankCommand(program.command)) {
    return program.windows_installer ? program.key_name : std::string{};
  }
  return NamesProduct(program.command, program.key_name) ? program.key_name : std::string{};
}

bool IsUnknownToWindowsInstaller(const ProgramEntry& program, platform::Launcher& launcher,
                                 const KnownProducts* known) {
  const std::string code = InstallerEntryCode(program);
  if (code.empty()) return false;
  if (known != nullptr) return known->count(text::UpperAscii(code)) == 0;
  return launcher.InstallerProductState(code) == platform::kInstallStateUnknown;
}

std::optional<KnownProducts> KnownInstallerProducts(platform::Launcher& launcher) {
  const auto products = launcher.InstallerProducts();
  if (!products) return std::nullopt;
  KnownProducts known;
  for (const std::string& code : *products) known.insert(text::UpperAscii(code));
  return known;
}

}  // namespace app
