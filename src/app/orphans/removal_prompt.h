#pragma once

// The boxes around the removal of an entry whose uninstaller is gone: the question, and what
// came of the answer.

#include <cstdint>
#include <optional>
#include <string>

#include "app/entry/program_entry.h"
#include "app/orphans/entry_removal.h"
#include "platform/raw_registry.h"
#include "platform/windowing.h"

namespace app {

struct RemovalMessage {
  std::string text;
  std::uint32_t style = 0;
};

// The box that tells what a removal came to.
RemovalMessage RemovalResultMessage(const std::string& display_name, const Removal& removal);

// The entry as the user is asked about it: its KeyDigest, and the question's words on the values
// that its copy cannot give back exactly. Nothing when it cannot be read now; the removal then
// says why.
struct AskedEntry {
  std::uint64_t digest = 0;
  std::string inexact_note;
};
std::optional<AskedEntry> ReadAskedEntry(platform::RawRegistry& registry,
                                         const ProgramEntry& program);

// The question whether to take the entry off the list: Yes or No, No the default.
RemovalMessage RemovalQuestion(const std::string& question);

}  // namespace app
