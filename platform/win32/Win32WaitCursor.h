#pragma once

namespace brontelx::platform::win32 {

// True while a WaitCursor lives on this thread: the backend's windows then keep the wait cursor
// when the mouse moves over them (WM_SETCURSOR) instead of their class cursor.
bool WaitCursorShown();

}  // namespace brontelx::platform::win32
