#pragma once

namespace app {

// What the catalogue lists. The options dialog shows and edits them; they live for the run and
// are stored nowhere, so every start begins with these values.
struct Options {
  bool hide_microsoft = true;   // leave out names containing "Windows" or "Microsoft"
  bool show_no_remove = false;  // list entries that ask not to be removed, too
  // List what Windows' own list hides, too: other programs' hidden parts, their updates and
  // entries with nothing to run.
  bool show_system_components = false;
  // Also read what the command-line list tells of each program beyond its name: its version,
  // publisher, size and quiet command. Never for the menu, whose start waits for every read.
  bool list_details = false;
};

}  // namespace app
