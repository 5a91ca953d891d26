#pragma once

// The system's words for an error, as a box shows them. Some of its texts hold an insert, such
// as "%1 is not a valid Win32 application.", which the system fills only when asked to read
// arguments; asked so, it would read past them for a text with "%2". So the text is fetched
// with its inserts left alone, and "%1", the file the error is about, is filled in here.

#include <string>
#include <string_view>

namespace platform {

// The text with every "%1" replaced by path; "%%" and every other insert ("%2", "%10") stay as
// they are, and what path holds is not read again.
std::string WithPathInserted(std::string_view text, std::string_view path);

}  // namespace platform
