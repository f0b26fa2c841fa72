#include "platform/win32/Win32Controls.h"

#include "platform/WindowError.h"
#include "platform/win32/ControlName.h"
#include "platform/win32/WideText.h"

namespace brontelx::platform::win32 {
namespace {

struct NativeKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

NativeKind KindOf(const ControlDescription& control) {
  switch (control.kind) {
    case ControlKind::Button:
      return {L"BUTTON", BS_PUSHBUTTON, 0};
    case ControlKind::Edit:
      return {L"EDIT", static_cast<DWORD>(ES_LEFT | ES_AUTOHSCROLL | (control.readOnly ? ES_READONLY : 0)),
              WS_EX_CLIENTEDGE};
    case ControlKind::GroupBox:
      // Clips its children so that its frame and caption never paint over them.
      return {L"BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN, 0};
    case ControlKind::Label:
      return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
  }
  return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
}

// The extent of a label's text in its font: the width of the text, the height of a line.
SIZE TextExtent(HWND label, HFONT font, const std::wstring& text) {
  SIZE extent{0, 0};
  HDC dc = GetDC(label);
  if (!dc) return extent;
  const HGDIOBJ previous = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
  extent.cy = metrics.tmHeight;
  SelectObject(dc, previous);
  ReleaseDC(label, dc);
  return extent;
}

}  // namespace

HWND CreateControl(const ControlDescription& control, HWND parent, int id, HFONT font) {
  const NativeKind kind = KindOf(control);
  DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style;
  if (control.tabOrder && control.kind != ControlKind::GroupBox) style |= WS_TABSTOP;
  const std::wstring caption = ToWide(control.caption);
  HWND handle = CreateWindowExW(kind.exStyle, kind.className, caption.c_str(), style, control.rect.left,
                                control.rect.top, control.rect.width, control.rect.height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  if (!handle) {
    throw WindowError("The control \"" + control.name + "\" cannot be created: " + SystemMessage(GetLastError()));
  }
  try {
    SetControlName(handle, control.name);
  } catch (...) {
    DestroyWindow(handle);
    throw;
  }
  SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (control.autoSize) {
    const SIZE extent = TextExtent(handle, font, caption);
    SetWindowPos(handle, nullptr, 0, 0, extent.cx, extent.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return handle;
}

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return ToUtf8(text);
}

void SetControlText(HWND control, const std::string& text) {
  if (!SetWindowTextW(control, ToWide(text).c_str())) {
    throw WindowError("The text of control \"" + ControlName(control) + "\" cannot be set: " +
                      SystemMessage(GetLastError()));
  }
}

}  // namespace brontelx::platform::win32
