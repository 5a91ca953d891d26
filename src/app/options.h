#pragma once

namespace app {

// What the catalogue lists. The options dialog shows and edits them; they live for the run and
// are stored nowhere, so every start begins with these values.
struct Options {
  bool hide_microsoft = true;   // leave out names containing "Windows" or "Microsoft"
  bool show_no_remove = false;  // list entries that ask not to be removed, too
};

}  // namespace app
