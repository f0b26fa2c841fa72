// The wait cursor of the Win32 backend (WaitCursor.h). Nested wait cursors share one change of
// the cursor: the outermost one restores the cursor that was shown before.
#include "Win32WaitCursor.h"

#include <windows.h>

#include "WaitCursor.h"

namespace brontelx::platform {
namespace {

thread_local int waitDepth = 0;
thread_local HCURSOR cursorBefore = nullptr;

}  // namespace

WaitCursor::WaitCursor() : shown_(true) {
  if (waitDepth++ == 0) cursorBefore = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

WaitCursor::~WaitCursor() {
  if (shown_ && --waitDepth == 0) SetCursor(cursorBefore);
}

namespace win32 {

bool WaitCursorShown() { return waitDepth > 0; }

}  // namespace win32
}  // namespace brontelx::platform
