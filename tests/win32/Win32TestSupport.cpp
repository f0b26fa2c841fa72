#include "tests/win32/Win32TestSupport.h"

#include <stdexcept>

#include "platform/win32/ControlName.h"

namespace brontelx::platform {

void PrintTo(const Rect& rect, std::ostream* out) {
  *out << "{" << rect.left << ", " << rect.top << ", " << rect.width << ", " << rect.height << "}";
}

}  // namespace brontelx::platform

namespace brontelx::testing {

void RecordingEvents::OnClick(const std::string& handler) {
  clicks.push_back(handler);
  if (onClick) onClick(handler);
}

void RecordingEvents::OnClose(platform::CloseAction& action) {
  ++closes;
  if (!closeError.empty()) throw std::runtime_error(closeError);
  action = closeAction;
}

void RecordingEvents::OnRelease() {
  ++releases;
  if (onRelease) onRelease();
}

platform::win32::Win32Backend& Toolkit() {
  static platform::win32::Win32Backend toolkit;
  return toolkit;
}

void RecordingBackend::ShowError(const std::string& message) {
  messages.push_back(message);
  if (whileShown) whileShown();
}

TestWindow::TestWindow(const platform::WindowDescription& description, platform::Backend& backend)
    : window(backend.BuildWindow(description, events)) {}

HWND TestWindow::Handle() const { return reinterpret_cast<HWND>(window->NativeHandle()); }

HWND TestWindow::Control(const std::string& name) const { return platform::win32::FindControl(Handle(), name); }

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

platform::Rect RectInParent(HWND control) {
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

LOGFONTW FontOf(HWND control) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

std::wstring DrawnFaceOf(HWND control) {
  const HDC dc = GetDC(control);
  const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, previous);
  ReleaseDC(control, dc);
  return face;
}

COLORREF BrushColor(HBRUSH brush) {
  LOGBRUSH description{};
  GetObjectW(brush, sizeof description, &description);
  return description.lbColor;
}

PaintColors ColorsOf(HWND control, UINT message) {
  const HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(control), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
  const PaintColors colors{GetTextColor(dc), GetBkColor(dc), BrushColor(brush)};
  DeleteDC(dc);
  return colors;
}

}  // namespace brontelx::testing
