#pragma once

// The list as JSON: an array with one object per program, its fields in listed_fields.h's
// order, an absent value as null. Pure ASCII whatever the names hold: every character outside
// printable ASCII is written as the \uXXXX escapes of its UTF-16 units, so a lone surrogate
// in a name comes out as the one unit it is ("\ud800"). Texts are written whole.
//
//   [
//     {"id":"HKCU/Tool","name":"Tool","version":null,...},
//     {...}
//   ]

#include <string>
#include <string_view>
#include <vector>

#include "app/listing/listed_program.h"

namespace app {

// The text as a JSON string, quotes and all, escaped as above.
void AppendJsonString(std::string& out, std::string_view wtf8);

// The array, ended by a newline; "[]\n" for no programs.
std::string ListJson(const std::vector<ListedProgram>& programs);

}  // namespace app
