#pragma once

// Failures of a simulated run that must reach the test itself. They deliberately do not derive
// from std::exception: the framework's message loop turns std::exception into an error box and
// goes on, which would hide a broken script or a program that can never end.

#include <ostream>
#include <string>

namespace sim {

// The scripted user was asked something the script does not answer, or the script names
// something the program did not show.
struct ScriptError {
  explicit ScriptError(std::string message);
  std::string what;
};

// The program waits for something that can never happen, or runs past the time limit.
struct Hang {
  explicit Hang(std::string message);
  std::string what;
};

std::ostream& operator<<(std::ostream& out, const ScriptError& error);
std::ostream& operator<<(std::ostream& out, const Hang& error);

// GoogleTest reports an escaping exception of a type it does not know without its text, so
// both errors also echo their text to stderr when raised.
void PrintTo(const ScriptError& error, std::ostream* out);
void PrintTo(const Hang& error, std::ostream* out);

}  // namespace sim
