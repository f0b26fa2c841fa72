#include "host/win32/ControlActions.h"

#include <cstdio>
#include <stdexcept>

#include "host/win32/MessagePump.h"
#include "platform/win32/ControlName.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Controls.h"

namespace brontelx::winhost {
namespace {

using platform::win32::ToUtf8;
using platform::win32::ToWide;

HWND Control(HWND window, const std::string& name) {
  const HWND control = platform::win32::FindControl(window, name);
  if (!control) throw std::runtime_error("the window has no control " + name);
  return control;
}


}  // namespace

void RunControlActions(HWND window, const std::vector<ControlAction>& actions) {
  for (const ControlAction& action : actions) {
    const HWND control = Control(window, action.control);
    switch (action.kind) {
      case ControlAction::Kind::Set:
        SetWindowTextW(control, ToWide(action.text).c_str());
        break;
      case ControlAction::Kind::Click:
        // The button's handler runs inside this call, on this thread, as for a mouse click.
        SendMessageW(control, BM_CLICK, 0, 0);
        break;
      case ControlAction::Kind::Read:
        std::printf("%s: %s\n", action.control.c_str(), platform::win32::ControlText(control).c_str());
        break;
    }
    PumpWaiting();
  }
  std::fflush(stdout);
}

}  // namespace brontelx::winhost
