#pragma once

// Standard output and error kept as the text written to them, or missing, as for a program
// started from a shortcut.

#include <string>

#include "platform/standard_streams.h"

namespace sim {

class Streams final : public platform::StandardStreams {
 public:
  bool WriteOut(std::string_view utf8) override { return out_attached_ && Write(out_, utf8); }
  bool WriteError(std::string_view utf8) override { return error_attached_ && Write(error_, utf8); }

  // From now on there is no such stream: every write to it fails.
  void DetachOut() { out_attached_ = false; }
  void DetachError() { error_attached_ = false; }
  const std::string& Out() const { return out_; }
  const std::string& Error() const { return error_; }

 private:
  static bool Write(std::string& stream, std::string_view utf8) {
    stream += utf8;
    return true;
  }

  bool out_attached_ = true;
  bool error_attached_ = true;
  std::string out_;
  std::string error_;
};

}  // namespace sim
