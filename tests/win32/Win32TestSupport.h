#pragma once

#include <windows.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "platform/Window.h"
#include "platform/win32/Win32Backend.h"

namespace brontelx::platform {

// Rectangles in failure messages.
void PrintTo(const Rect& rect, std::ostream* out);

}  // namespace brontelx::platform

namespace brontelx::testing {

// Receives a window's events: records them, and does what a test asks on each.
class RecordingEvents : public platform::WindowEvents {
 public:
  void OnClick(const std::string& handler) override;
  void OnClose(platform::CloseAction& action) override;
  void OnRelease() override;

  std::vector<std::string> clicks;
  std::function<void(const std::string& handler)> onClick;  // runs after the click is recorded
  platform::CloseAction closeAction = platform::CloseAction::Hide;
  std::string closeError;  // thrown by OnClose when not empty
  int closes = 0;
  int releases = 0;
  std::function<void()> onRelease;
};

// The Win32 backend as a program installs it.
platform::win32::Win32Backend& Toolkit();

// The Win32 backend with a recorder in place of its error box.
class RecordingBackend final : public platform::win32::Win32Backend {
 public:
  void ShowError(const std::string& message) override;

  std::vector<std::string> messages;
  std::function<void()> whileShown;  // runs inside the box, as a modal box runs its own loop
};

// A window built from a description with its events by `backend`, as a form holds it. OnRelease
// may reset `window`, which destroys the native window, as a form that frees itself does.
struct TestWindow {
  explicit TestWindow(const platform::WindowDescription& description, platform::Backend& backend = Toolkit());
  HWND Handle() const;
  HWND Control(const std::string& name) const;

  RecordingEvents events;
  std::unique_ptr<platform::Window> window;
};

// Dispatches the messages waiting for the thread, as a host's loop without IsDialogMessage does.
void PumpMessages();

// A control's rectangle relative to its parent's client area.
platform::Rect RectInParent(HWND control);
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
// The font a control was given, as created.
LOGFONTW FontOf(HWND control);
// The face the system actually draws the control's font with (its substitute where the family is missing).
std::wstring DrawnFaceOf(HWND control);
// The colour of a brush.
COLORREF BrushColor(HBRUSH brush);

// The colours a control's parent gives it for painting: text colour, background colour and brush
// colour, asked with the WM_CTLCOLOR* message the control itself sends.
struct PaintColors {
  COLORREF text;
  COLORREF background;
  COLORREF brush;
};
PaintColors ColorsOf(HWND control, UINT message);

}  // namespace brontelx::testing
