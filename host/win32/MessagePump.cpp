#include "host/win32/MessagePump.h"

namespace brontelx::winhost {
namespace {

BOOL CALLBACK CollectVisible(HWND window, LPARAM windows) {
  if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

void Dispatch(MSG& message) {
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void PumpWaiting() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) Dispatch(message);
}

bool PumpUntilDestroyed(HWND window, DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (IsWindow(window)) {
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    PumpWaiting();
  }
  return true;
}

void PumpWhileWindowsShow() {
  MSG message;
  while (!ThreadWindows().empty()) {
    const BOOL received = GetMessageW(&message, nullptr, 0, 0);
    if (received == 0 || received == -1) return;
    Dispatch(message);
  }
}

}  // namespace brontelx::winhost
