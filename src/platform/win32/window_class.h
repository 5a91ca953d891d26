#pragma once

// The window class of the program's own windows, whose procedure hands every message to the
// platform::WindowHandler given at creation.

#include <windows.h>

namespace win32 {

// Registered at first use, unregistered at exit.
const wchar_t* OwnWindowClass();

// A handler's exception cannot travel through the system's frames between the window
// procedure and the call that ran it, so the procedure keeps the first one and this raises it
// again once that call has returned. Call it after every call that may run window procedures.
void RethrowHandlerFailure();

}  // namespace win32
