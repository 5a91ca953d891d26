#pragma once

// A per-user entry is set aside under a name of its own (entry_key.h) before it is copied and
// deleted, so that whatever is written under its own name meanwhile lands in a fresh key and
// survives. A
// note kept with the program's settings tells a later start that the copy of a set-aside key
// was verified, should the program end before the delete did.

#include <string>
#include <string_view>

#include "platform/file_dates.h"
#include "platform/raw_registry.h"

namespace app {

// Deletes the open key with everything under it, deepest first, each key through a handle to
// itself: a link goes alone, and nothing is ever deleted by name. A key it could not delete
// stays, with the keys above it.
platform::RegResult DeleteKeyItself(platform::RawRegistry& registry, platform::RegKey key);

// The note that the copy of the set-aside key is verified and at copy_path; false when it could
// not be written.
bool WriteRemovalNote(platform::RawRegistry& registry, const std::string& set_aside,
                      const std::string& copy_path);
void DeleteRemovalNote(platform::RawRegistry& registry, const std::string& set_aside);

// What a start does with the per-user keys an earlier run left set aside: one whose copy was
// verified and is still there is deleted, any other renamed back when its name is free.
// Safe from a worker: it uses only seams that are safe from any thread.
void FinishSetAsideEntries(platform::RawRegistry& registry, platform::FileDates& files);

}  // namespace app
