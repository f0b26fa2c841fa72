#pragma once

#include <windows.h>

#include <vector>

namespace brontelx::winhost {

// The visible top-level windows of the calling thread.
std::vector<HWND> ThreadWindows();

// Dispatches the messages that are waiting, as a host's loop does (without IsDialogMessage).
void PumpWaiting();

// Dispatches messages until `window` is gone; false when it still exists after `milliseconds`.
bool PumpUntilDestroyed(HWND window, DWORD milliseconds);

// Dispatches messages until the thread has no visible window left or WM_QUIT arrives.
void PumpWhileWindowsShow();

}  // namespace brontelx::winhost
