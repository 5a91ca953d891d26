#pragma once

// Where the copies of per-machine entries are kept: under ProgramData, in folders that only
// administrators can change, so that a copy an administrator restores is the copy that was
// made. Standard users may make folders in ProgramData, so a folder of the store that someone
// else made is refused, never used.

#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace app {

// Administrators and the system may do anything; users may read.
inline constexpr std::string_view kMachineStoreSecurity =
    "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// "<ProgramData>\Quillon\Tapwise Uninstaller\Removed entries"; empty when the system does not
// say where ProgramData is.
std::string MachineStoreFolder(platform::FileStore& files);

// The store, each of its folders made when missing, then checked: no reparse point, owned by
// the administrators, the system or own_account (the administrator running this), and no
// standard user may change it. Empty when a folder fails.
std::string PrepareMachineStore(platform::FileStore& files, std::string_view own_account);
// The same for any store under ProgramData: store must lie below it.
bool PrepareSecuredStore(platform::FileStore& files, const std::string& store,
                         std::string_view own_account);

// Whether the program's own file and its folder may be changed only by administrators: an
// elevated step is started only from such a copy, which no one else could have replaced.
bool RunsFromAdministratorsFolder(platform::FileStore& files, const std::string& own_file);

}  // namespace app
