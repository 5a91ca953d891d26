#pragma once

// A window handler that logs what reaches it, with the virtual time, for the sim's own tests.

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

#include "platform/sim/sim_windowing.h"

namespace sim_test {

struct Logged {
  std::int64_t time_ms = 0;
  platform::WindowId window = platform::kNoWindow;
  platform::MessageId id = platform::kWmNull;
  platform::WParam wparam = 0;
  platform::LParam lparam = 0;
  friend bool operator==(const Logged&, const Logged&) = default;
};

inline std::ostream& operator<<(std::ostream& out, const Logged& m) {
  return out << "{t=" << m.time_ms << " w=" << m.window << " id=0x" << std::hex << m.id << " wp=0x"
             << m.wparam << std::dec << " lp=" << m.lparam << "}";
}

class Recorder : public platform::WindowHandler {
 public:
  explicit Recorder(sim::WindowSystem& ws) : ws_(ws) {}

  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override {
    const Logged entry{ws_.Now(), window, id, wparam, lparam};
    log.push_back(entry);
    if (on_message) on_message(entry);
    return ws_.DefaultProc(window, id, wparam, lparam);
  }

  // The logged messages with one id.
  std::vector<Logged> Only(platform::MessageId id) const {
    std::vector<Logged> out;
    for (const Logged& m : log) {
      if (m.id == id) out.push_back(m);
    }
    return out;
  }

  std::vector<Logged> log;
  std::function<void(const Logged&)> on_message;

 private:
  sim::WindowSystem& ws_;
};

// A plain message loop: dispatches until WM_QUIT and returns its exit code.
inline int RunLoop(sim::WindowSystem& ws) {
  platform::Message message;
  while (true) {
    if (!ws.PeekNext(message)) {
      ws.WaitMessage();
      continue;
    }
    if (message.id == platform::kWmQuit) return static_cast<int>(message.wparam);
    ws.Dispatch(message);
  }
}

inline platform::WindowSpec Kind(platform::WindowKind kind,
                                 platform::WindowId parent = platform::kNoWindow) {
  platform::WindowSpec desc;
  desc.kind = kind;
  desc.parent = parent;
  return desc;
}

}  // namespace sim_test
