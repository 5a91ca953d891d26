#pragma once

#include "platform/standard_streams.h"

namespace win32 {

// The process's standard handles: a console is written as text with WriteConsoleW, anything
// else (a file, a pipe) gets the UTF-8 bytes with WriteFile.
class StandardStreams final : public platform::StandardStreams {
 public:
  bool WriteOut(std::string_view utf8) override;
  bool WriteError(std::string_view utf8) override;
};

}  // namespace win32
