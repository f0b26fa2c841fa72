#pragma once

#include "platform/Backend.h"

namespace brontelx::platform::win32 {

// The Win32 backend: its windows belong to the thread that builds them, which must run a message
// loop (the host's own, or ShowModal's); its error box is MessageBoxW with MB_ICONERROR, owned by
// the thread's active window and titled with the program's name, as an application's own boxes
// are; its wait cursor is the thread's cursor, which nested waits change once.
class Win32Backend : public Backend {
 public:
  std::unique_ptr<Window> BuildWindow(const WindowDescription& description, WindowEvents& events) override;
  void ShowError(const std::string& message) override;
  void BeginWait() override;
  void EndWait() noexcept override;

  // True while a wait lasts on this thread: the backend's windows then keep the wait cursor when
  // the mouse moves over them (WM_SETCURSOR) instead of their class cursor.
  static bool WaitCursorShown();
};

}  // namespace brontelx::platform::win32
