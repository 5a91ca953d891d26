#pragma once

// Taking an entry whose program is gone off the list of programs, with an exact copy kept first.
// Each step is checked before the next: the copy is read back before anything is deleted, and
// the key is read again afterwards, so that what the user is told is what happened. No link is
// ever followed: every key is opened itself, and an entry that holds a link is refused.
//
// The entry is set aside under a name of its own first (set_aside.h), then copied and deleted
// key by key through its own handles, never by name; a failure puts it back. A per-machine
// entry is removed so by the program's own elevated step (machine_removal.h), which writes its
// copy where only administrators can change it.

#include <cstdint>
#include <optional>
#include <string>

#include "app/copies/key_copy.h"
#include "app/entry/program_entry.h"
#include "platform/file_store.h"
#include "platform/launcher.h"
#include "platform/raw_registry.h"

namespace app {

struct RemovalSystem {
  platform::RawRegistry& registry;
  platform::FileStore& files;
  platform::Launcher& launcher;  // the elevated step, and the system's error texts
};

enum class RemovalOutcome {
  kRemoved,        // the key is gone; the copy is kept
  kNotRemoved,     // the key is as it was; the copy is deleted
  kPartlyRemoved,  // the key is there but changed; the copy is kept
  kNotKnown,       // the elevated step had not ended in time, or the key could not be read again
  kNotRead,        // the key could not be read; nothing was written or deleted
  kNotCopied,      // the copy could not be written, or did not read back as written
  kHoldsLink,      // a key of the entry is a registry link; nothing was written or deleted
  kTooLarge,       // the entry holds more than a copy may; nothing was written or deleted
  kLeftAside,      // a per-user key could not go back under its name, taken meanwhile
  kRewritten,      // removed, and a new key was written under its name meanwhile
  kChanged,        // the entry changed after the user was asked; nothing was removed
  // Per-machine entries only: nothing was changed.
  kNotOrphaned,     // the elevated step found that the entry's program is there after all
  kStepRefused,     // the elevated step refused what it was asked; reason says why
  kFromUserFolder,  // this program's file or folder may be changed by standard users
};

struct Removal {
  RemovalOutcome outcome = RemovalOutcome::kNotRead;
  std::string copy_path = {};  // the copy's file, when one was written
  std::string reason = {};     // the system's words for a failed step, when it gave some
  std::string key_path = {};   // kHoldsLink: the link; kLeftAside: where the entry now is
};

// The entry's own key as it is now, whole, read in its view as its copy is made: each key
// itself, never what a link leads to (ReadKeyCopy). Named by the entry's key name.
platform::RegResult ReadEntryCopy(platform::RawRegistry& registry, EntryView view,
                                  const std::string& key_name, CopiedKey& entry);

// The entry removed by this process, with its copy written to copy_path, or, when that is empty,
// as a new file in the user's own folder for copies.
// asked: the KeyDigest of the entry as the user was asked about it; an entry that reads otherwise
// now is put back as it is.
Removal RemoveEntryHere(const ProgramEntry& program, const RemovalSystem& system,
                        const std::string& copy_path = {},
                        std::optional<std::uint64_t> asked = std::nullopt);

// A per-user entry removed here, a per-machine one through the elevated step.
Removal RemoveEntry(const ProgramEntry& program, const RemovalSystem& system,
                    std::optional<std::uint64_t> asked = std::nullopt);

}  // namespace app
