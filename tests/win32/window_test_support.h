#pragma once

// A recording window handler and queue pumping for the windowing tests.

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

#include "platform/win32/windowing.h"

namespace win32_test {

// Records every message and answers through react, or the default procedure.
class Recorder : public platform::WindowHandler {
 public:
  using Reaction = std::function<std::optional<platform::LResult>(const platform::Message&)>;

  explicit Recorder(platform::Windowing& windowing) : windowing_(windowing) {}

  platform::LResult HandleMessage(platform::WindowId window, platform::MessageId id,
                                  platform::WParam wparam, platform::LParam lparam) override;

  std::size_t Count(platform::MessageId id) const;

  std::vector<platform::Message> seen;
  Reaction react;

 private:
  platform::Windowing& windowing_;
};

// A window of the seam, destroyed at the end.
class TestWindow {
 public:
  TestWindow(platform::Windowing& windowing, const platform::WindowSpec& desc,
             platform::WindowHandler* handler);
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  platform::WindowId id() const { return id_; }
  HWND hwnd() const { return reinterpret_cast<HWND>(id_); }

 private:
  platform::Windowing& windowing_;
  platform::WindowId id_;
};

// Dispatches waiting messages until done() holds or the time is up; true when it held.
bool PumpUntil(platform::Windowing& windowing, const std::function<bool()>& done,
               std::chrono::milliseconds limit);

}  // namespace win32_test
