#pragma once

// Whether standard users could change a file or folder: replace the program that an
// administrator is about to run, or a copy that an administrator will restore. Decided from the
// object's own owner and DACL, entry by entry: what the program's own rights allow says nothing
// about what other users may do.

#include <string>
#include <string_view>

#include "app/security/security_text.h"

namespace app {

// The text's object can be changed by Users, Authenticated Users, Everyone or Interactive: an
// entry that applies to the object allows one of them to write, delete, or change its
// security; one of them owns it; it has no DACL; or the text cannot be read. Entries that deny
// are not counted: one that came after an allowing entry would not take its right away.
bool StandardUsersMayChange(std::string_view security_text);

// A folder the program keeps per-machine copies in: no standard user may change it, and it is
// owned by the administrators, the system, or the administrator's account that made it
// (own_account: a system that keeps no owner of its own reports that one).
bool IsAdministratorsFolder(std::string_view security_text, std::string_view own_account);

}  // namespace app
