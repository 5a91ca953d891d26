#include "window_test_support.h"

#include <algorithm>

namespace win32_test {
namespace {

constexpr DWORD kWaitSliceMs = 20;

}  // namespace

platform::LResult Recorder::HandleMessage(platform::WindowId window, platform::MessageId id,
                                          platform::WParam wparam, platform::LParam lparam) {
  const platform::Message message{window, id, wparam, lparam};
  seen.push_back(message);
  if (react) {
    if (const auto answer = react(message)) return *answer;
  }
  return windowing_.DefaultProc(window, id, wparam, lparam);
}

std::size_t Recorder::Count(platform::MessageId id) const {
  return static_cast<std::size_t>(std::count_if(
      seen.begin(), seen.end(), [id](const platform::Message& m) { return m.id == id; }));
}

TestWindow::TestWindow(platform::Windowing& windowing, const platform::WindowSpec& desc,
                       platform::WindowHandler* handler)
    : windowing_(windowing), id_(windowing.NewWindow(desc, handler)) {}

TestWindow::~TestWindow() {
  if (id_ != platform::kNoWindow) windowing_.DestroyWindow(id_);
}

bool PumpUntil(platform::Windowing& windowing, const std::function<bool()>& done,
               std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    platform::Message message;
    while (windowing.PeekNext(message)) windowing.Dispatch(message);
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kWaitSliceMs, QS_ALLINPUT);
  }
}

}  // namespace win32_test
