// The message handling of Win32Window: its window procedure and the subclass procedure of its
// controls, painting in the described colours, the Tab key and the focus.
#include "platform/win32/Win32Window.h"

#include <commctrl.h>

#include "platform/win32/ControlName.h"
#include "platform/win32/Win32Backend.h"

namespace brontelx::platform::win32 {

LRESULT CALLBACK Win32Window::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's code; the handlers are guarded, so this is only
    // ever a failure to allocate, and the default handling serves.
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT Win32Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && lParam != 0) HandleClick(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (const NativeControl* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
        return ControlColors(reinterpret_cast<HDC>(wParam), *control);
      }
      break;
    case WM_ERASEBKGND:
      FillBackground(window_, reinterpret_cast<HDC>(wParam), background_);
      return 1;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Place(window_, lParam);
      return 0;
    case WM_CLOSE:
      HandleClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) savedFocus_ = focus;
      }
      // The default handling gives the window the focus, which WM_SETFOCUS passes on.
      break;
    case WM_SETFOCUS:
      FocusInside();
      return 0;
    case WM_SETCURSOR:
      if (Win32Backend::WaitCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (!ownerDestroying_) {
        gate_.NativeWindowGoing();
        EnableOtherWindows();
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK Win32Window::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
  try {
    return reinterpret_cast<Win32Window*>(self)->HandleControlMessage(control, message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(control, message, wParam, lParam);
  }
}

LRESULT Win32Window::HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // The Tab key: the control asks for it, so that a host's IsDialogMessage, if it calls it,
    // leaves it to the control, and the window moves the focus along its tab order itself.
    case WM_GETDLGCODE:
      if (tabs_.Contains(control)) return DefSubclassProc(control, message, wParam, lParam) | DLGC_WANTTAB;
      break;
    case WM_KEYDOWN:
      if (wParam == VK_TAB && tabs_.Contains(control)) {
        if (const HWND next = tabs_.Next(control, GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L'\t' && tabs_.Contains(control)) return 0;
      break;
    // What a group box's children send their parent goes on to the window.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (keepers_.contains(control)) return SendMessageW(window_, message, wParam, lParam);
      break;
    case WM_ERASEBKGND:
      // A group box paints only its frame and caption; its inside is its background.
      if (const NativeControl* box = ControlOf(control); box && box->kind == ControlKind::GroupBox) {
        FillBackground(control, reinterpret_cast<HDC>(wParam), box->background);
        return 1;
      }
      break;
    case WM_SIZE:
      if (keepers_.contains(control)) Place(control, lParam);
      break;
    case WM_NCDESTROY:
      RemoveControlName(control);
      RemoveWindowSubclass(control, ControlProcedure, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Win32Window::ControlColors(HDC dc, const NativeControl& control) {
  SetTextColor(dc, ToColorRef(control.textColor));
  SetBkColor(dc, ToColorRef(control.background));
  return reinterpret_cast<LRESULT>(gdi_.Brush(control.background));
}

void Win32Window::FillBackground(HWND window, HDC dc, const Color& color) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, gdi_.Brush(color));
}

void Win32Window::Place(HWND container, LPARAM size) {
  if (const auto keeper = keepers_.find(container); keeper != keepers_.end()) {
    keeper->second.Place({LOWORD(size), HIWORD(size)});
  }
}

void Win32Window::FocusInside() {
  const bool savedUsable = savedFocus_ && IsWindow(savedFocus_) && IsChild(window_, savedFocus_) &&
                           IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_);
  if (const HWND target = savedUsable ? savedFocus_ : tabs_.First()) SetFocus(target);
}

}  // namespace brontelx::platform::win32
