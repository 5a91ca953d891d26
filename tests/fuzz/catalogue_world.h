#pragma once

// Turns fuzz bytes into what the program reads at start-up: an uninstall registry in both
// HKLM views and HKCU, a stored last command, files for the date fallback and running
// processes; and into what the scripted user does.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sim/sim_platform.h"

namespace fuzz {

// The three physical uninstall keys a 32-bit program on 64-bit Windows can reach (on 32-bit
// Windows, the second and third).
struct UninstallKey {
  platform::RegKey root;
  std::string_view path;
};
inline constexpr UninstallKey kUninstallKeys[] = {
    {platform::kHkeyLocalMachine,
     "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {platform::kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {platform::kHkeyCurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
};
inline constexpr std::string_view kSettingsKey = "Software\\Quillon\\Tapwise Uninstaller";

// What the user does with the menu, and how every message box is answered.
struct UserScript {
  enum class Choice : std::uint8_t { kAllItem, kRecentItem, kKillItem, kDismiss, kExit };
  Choice choice = Choice::kDismiss;
  std::size_t index = 0;         // of the item in its submenu, wrapped round
  std::vector<int> box_answers;  // in order; IDYES or IDNO
};

// Fills the substitutes from the bytes.
UserScript BuildWorld(const std::uint8_t* data, std::size_t size, sim::SimPlatform& sim);

// Whether the input's registry has an uninstall key with thousands of entries.
bool HasThousandsOfEntries(const std::uint8_t* data, std::size_t size);

// UTF-16 as the registry stores it, turned into the bytes the raw registry seam hands up:
// every unit kept, NULs included, an unpaired surrogate too (WTF-8).
std::string SeamText(std::u16string_view units);

}  // namespace fuzz
