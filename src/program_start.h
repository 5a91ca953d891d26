#pragma once

// What both entry points do: the program, windowed or console, set up and run with its
// arguments.

#include <string>
#include <vector>

// Never returns: the process ends with the exit code.
[[noreturn]] void StartProgram(const std::vector<std::string>& arguments);
