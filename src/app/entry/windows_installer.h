#pragma once

// Entries that the Windows Installer wrote: their key is named by the product's code, and
// msiexec removes the product by that code when the entry names no command of its own.

#include <string>
#include <string_view>

namespace app {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits in either letter case.
bool IsProductCode(std::string_view name);

// A product code as the Windows Installer packs it to name its keys: each of the first three
// groups reversed, each byte of the last two swapped, no punctuation, upper case. Empty when the
// text is no product code.
std::string PackedProductCode(std::string_view product_code);

// The command that removes the product with that code, spelled as the Windows Installer itself
// registers it.
std::string InstallerRemoveCommand(std::string_view product_code);

}  // namespace app
