#pragma once

// Standard output and error kept as the text written to them, or missing, as for a program
// started from a shortcut.

#include <string>

#include "platform/standard_streams.h"

namespace sim {

class Streams final : public platform::StandardStreams {
 public:
  bool WriteOut(std::string_view utf8) override { return Write(out_, utf8); }
  bool WriteError(std::string_view utf8) override { return Write(error_, utf8); }

  // From now on there are no standard streams: every write fails.
  void Detach() { attached_ = false; }
  const std::string& Out() const { return out_; }
  const std::string& Error() const { return error_; }

 private:
  bool Write(std::string& stream, std::string_view utf8) {
    if (!attached_) return false;
    stream += utf8;
    return true;
  }

  bool attached_ = true;
  std::string out_;
  std::string error_;
};

}  // namespace sim
