// The functions of the windowing layer that the Win32 backend defines (the wait cursor is in
// Win32WaitCursor.cpp). Windows belong to the thread that builds them, which must run a message
// loop: the host's own, or RunModal's.
#include "Win32Window.h"

namespace brontelx::platform {

std::unique_ptr<Window> BuildWindow(const WindowDescription& description, WindowEvents& events) {
  return std::make_unique<win32::Win32Window>(description, events);
}

}  // namespace brontelx::platform
