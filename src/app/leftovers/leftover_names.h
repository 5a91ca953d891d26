#pragma once

// The names a removed program's own folders and keys may have, as "Publisher\Product" or a
// program folder's last two parts: compared whole, letter case aside, never by likeness. One
// name alone ("Widget") is never enough: other programs have it too.

#include <string>
#include <vector>

namespace app {

struct NamedFacts {
  std::string name;              // DisplayName
  std::string publisher;         // Publisher
  std::string install_location;  // a normal path, or empty
};

// "Acme\Widget" and the like, each once, letter case aside. program_files_roots: normal paths;
// an InstallLocation below one gives its last two parts.
std::vector<std::string> LeftoverNames(const NamedFacts& facts,
                                       const std::vector<std::string>& program_files_roots);

// names without those that any of others also gives.
std::vector<std::string> WithoutShared(std::vector<std::string> names,
                                       const std::vector<std::string>& others);

}  // namespace app
