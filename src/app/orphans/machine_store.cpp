#include "app/orphans/machine_store.h"

#include "app/copies/copy_file_name.h"
#include "app/security/write_access.h"

namespace app {

std::string MachineStoreFolder(platform::FileStore& files) {
  return CopyFolder(files.ProgramDataFolder());
}

std::string PrepareMachineStore(platform::FileStore& files, std::string_view own_account) {
  const std::string store = CopyFolder(files.ProgramDataFolder());
  return !store.empty() && PrepareSecuredStore(files, store, own_account) ? store : std::string{};
}

bool PrepareSecuredStore(platform::FileStore& files, const std::string& store,
                         std::string_view own_account) {
  const std::string program_data = files.ProgramDataFolder();
  if (program_data.empty() || store.size() <= program_data.size() + 1 ||
      !store.starts_with(program_data) || store[program_data.size()] != '\\') {
    return false;
  }
  // Each level below ProgramData, from the top: one made by anyone else is refused as found.
  for (std::size_t at = store.find('\\', program_data.size() + 1);; at = store.find('\\', at + 1)) {
    const std::string level = store.substr(0, at);
    const platform::FileError made =
        files.CreateSecuredFolder(level, std::string(kMachineStoreSecurity));
    if (made != platform::kFileOk && made != platform::kFileErrorAlreadyExists) return false;
    if (files.KindOf(level) != platform::PathKind::kFolder) return false;
    if (!IsAdministratorsFolder(files.SecurityText(level), own_account)) return false;
    if (at == std::string::npos) return true;
  }
}

// Both the program's file and its folder: either could be replaced by whoever may change it.
bool RunsFromAdministratorsFolder(platform::FileStore& files, const std::string& own_file) {
  const std::size_t cut = own_file.find_last_of('\\');
  if (own_file.empty() || cut == std::string::npos) return false;
  return !StandardUsersMayChange(files.SecurityText(own_file)) &&
         !StandardUsersMayChange(files.SecurityText(own_file.substr(0, cut)));
}

}  // namespace app
