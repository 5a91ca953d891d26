#pragma once

// The standard output and error the program was started with, for what it writes for scripts.
// Text is UTF-8; where a stream is a console it is shown as text, and where it is a file or a
// pipe it gets the bytes as they are.

#include <string_view>

namespace platform {

class StandardStreams {
 public:
  virtual ~StandardStreams() = default;
  // False when there is no such stream (a program started without one) or a write failed.
  virtual bool WriteOut(std::string_view utf8) = 0;
  virtual bool WriteError(std::string_view utf8) = 0;
};

}  // namespace platform
