#include "Win32Window.h"

#include "WideText.h"
#include "Win32Controls.h"

namespace brontelx::platform::win32 {

Win32Window::Win32Window(const WindowDescription& description, WindowEvents& events)
    : form_(std::make_unique<FormWindow>(description, events)) {}

HWND Win32Window::Handle() const {
  const HWND window = form_->Handle();
  if (!window) throw WindowError("The window has been destroyed");
  return window;
}

std::string Win32Window::Caption() const { return ControlText(Handle()); }

void Win32Window::SetCaption(const std::string& caption) { SetControlText(Handle(), caption); }

Rect Win32Window::Frame() const {
  RECT frame{};
  if (!GetWindowRect(Handle(), &frame)) throw WindowError("The frame is unknown: " + SystemMessage(GetLastError()));
  return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

void Win32Window::SetFrame(const Rect& frame) {
  if (!SetWindowPos(Handle(), nullptr, frame.left, frame.top, frame.width, frame.height,
                    SWP_NOZORDER | SWP_NOACTIVATE)) {
    throw WindowError("The window cannot be placed: " + SystemMessage(GetLastError()));
  }
}

std::uintptr_t Win32Window::NativeHandle() { return reinterpret_cast<std::uintptr_t>(Handle()); }

void Win32Window::Show() {
  const HWND window = Handle();
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
}

int Win32Window::ShowModal() {
  Handle();  // throws for a window that is gone
  form_->RunModal();
  return kModalCancel;
}

void Win32Window::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

bool Win32Window::Visible() const { return form_->Handle() && IsWindowVisible(form_->Handle()); }

std::string Win32Window::Text(std::string_view control) const { return ControlText(form_->Control(control)); }

void Win32Window::SetText(std::string_view control, const std::string& text) {
  SetControlText(form_->Control(control), text);
}

}  // namespace brontelx::platform::win32
