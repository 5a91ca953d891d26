#pragma once

// Waits on the calling thread that go on handling its messages, as a message box does: a
// program that sends a message to every window (a changed setting, often, at the end of an
// uninstall) is not held up by a window of this thread meanwhile.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <stop_token>

namespace win32 {

// Handles this thread's messages until handle (when given) is signalled or ms have passed. A
// quit is put back for the message loop, and the rest of the wait handles no more messages.
void WaitHandlingMessages(HANDLE handle, DWORD ms);

// Handles this thread's messages until done() holds, bound_ms have passed or stop is
// requested, asking done() at least every 100 ms and whenever handle (when given) is signalled;
// whether done() held.
bool WaitHandlingMessagesUntil(const std::function<bool()>& done, HANDLE handle,
                               std::uint32_t bound_ms, const std::stop_token& stop);

}  // namespace win32
