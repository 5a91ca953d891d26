#pragma once

// The list as CSV (RFC 4180): a header row of the field names of listed_fields.h, then one row
// per program, every row ended by CRLF. Cells are UTF-8: a lone surrogate, which UTF-8 cannot
// hold, becomes U+FFFD. A cell holding a comma, a quote, CR or LF is quoted, its quotes
// doubled. A cell that a spreadsheet would take for a formula (one that begins with "=", "+",
// "-", "@", a tab or CR) is quoted with a "'" before it, so that it is read as text. An absent
// value is an empty cell; truths are "true" and "false".

#include <string>
#include <vector>

#include "app/listing/listed_program.h"

namespace app {

std::string ListCsv(const std::vector<ListedProgram>& programs);

}  // namespace app
