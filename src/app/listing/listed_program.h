#pragma once

// What the command-line list says of one program: plain data, written by list_json.h and
// list_csv.h.

#include <cstdint>
#include <optional>
#include <string>

#include "app/listing/listed_date.h"
#include "app/paths/entry_view.h"

namespace app {

struct ListedProgram {
  std::string id;                        // entry_id.h
  std::string name;                      // as the menu shows it; WTF-8, as every text below
  std::optional<std::string> version;    // "DisplayVersion"
  std::optional<std::string> publisher;  // "Publisher"
  std::optional<ListedDate> installed;
  // Gives the scope (machine or user) and the view (32 or 64 bits; a user's entry is in both).
  EntryView view = EntryView::kMachineDefault;
  std::optional<std::uint32_t> size_kb;  // "EstimatedSize"
  bool quiet = false;                    // it can be uninstalled without its own questions
  bool orphaned = false;                 // its uninstaller is not there
};

}  // namespace app
