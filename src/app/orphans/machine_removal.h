#pragma once

// A per-machine entry is removed by a second instance of this program, started with
// administrator rights for that one entry: it renames, copies, verifies and deletes as a
// per-user removal does, and writes the copy where only administrators can change it. The
// instance that asked waits for it and learns the outcome from its exit code.
//
// The elevated instance trusts nothing it is given: the entry must be an uninstall entry of
// that view, orphaned by the menu's own rules, and the copy's name a plain file name.

#include <cstdint>
#include <optional>

#include "app/command_line/command_line.h"
#include "app/orphans/entry_removal.h"
#include "platform/platform.h"

namespace app {

// The elevated step's exit codes.
enum class StepExit : std::uint32_t {
  kRemoved = 0,
  kUsage = kUsageExitCode,  // its command line was malformed
  // How a removal that was tried came out (entry_removal.h).
  kNotRemoved = 10,
  kPartlyRemoved = 11,
  kNotKnown = 12,
  kNotRead = 13,
  kNotCopied = 14,
  kHoldsLink = 15,
  kTooLarge = 16,
  kLeftAside = 17,
  kRewritten = 18,
  // What it refused, changing nothing.
  kNoSuchEntry = 20,  // no uninstall entry with a name under that key in that view
  kNotOrphaned = 21,
  kStoreRefused = 22,
  kCopyNameRefused = 23,
  kChanged = 24,        // the entry is not as the user was asked about it
  kRecordRefused = 25,  // no record that reads whole in the folder named
  kSetRefused = 26,     // the set's name is not one the program gives, or is taken
};

// The elevated step: removes the entry the request names, when it is orphaned.
StepExit RunMachineEntryRemoval(platform::Platform& platform, const MachineEntryRequest& request);

// The waiting side: starts the elevated step for the per-machine entry and waits for it, from a
// copy of this program that only administrators can change.
// asked: the KeyDigest of the entry as the user was asked about it; without one, the entry as it is
// now.
Removal RemoveThroughElevatedStep(const ProgramEntry& program, const RemovalSystem& system,
                                  std::optional<std::uint64_t> asked);

}  // namespace app
