#include "app/orphans/machine_store.h"

#include "app/copies/copy_file_name.h"
#include "app/security/write_access.h"

namespace app {

std::string MachineStoreFolder(platform::FileStore& files) {
  return CopyFolder(files.ProgramDataFolder());
}

std::string PrepareMachineStore(platform::FileStore& files, std::string_view own_account) {
  const std::string program_data = files.ProgramDataFolder();
  const std::string store = CopyFolder(program_data);
  if (store.empty()) return {};
  // Each level below ProgramData, from the top: one made by anyone else is refused as found.
  for (std::size_t at = store.find('\\', program_data.size() + 1);; at = store.find('\\', at + 1)) {
    const std::string level = store.substr(0, at);
    const platform::FileError made =
        files.CreateSecuredFolder(level, std::string(kMachineStoreSecurity));
    if (made != platform::kFileOk && made != platform::kFileErrorAlreadyExists) return {};
    if (files.KindOf(level) != platform::PathKind::kFolder) return {};
    if (!IsAdministratorsFolder(files.SecurityText(level), own_account)) return {};
    if (at == std::string::npos) return store;
  }
}

}  // namespace app
