#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/WindowDescription.h"
#include "platform/WindowError.h"

namespace brontelx::platform {

// What happens to a window when it closes: it is only hidden (and can be shown again), or it is
// destroyed once the close has completed.
enum class CloseAction { Hide, Free };

// The modal result of a window closed by the user.
inline constexpr int kModalCancel = 2;

// The events of a window, delivered on the thread that runs the window. The backend runs every
// handler through its window's ReleaseGate, so an exception never leaves an event.
//
// How a window ends is the same on every backend, whatever ends it (its close button, a program's
// Close, the host destroying the native window, the window's thread ending): OnClose runs at most
// once for that ending, and a window whose close chose CloseAction::Free then gets OnRelease exactly
// once, delivered when no handler of the window is running. After OnRelease no event arrives; the
// owner destroys the Window object then. The Window object always belongs to its owner: a native
// window that something else destroyed leaves the object behind, and its calls then throw
// WindowError.
class WindowEvents {
 public:
  // A control whose description names `handler` as its click handler was clicked.
  virtual void OnClick(const std::string& handler) = 0;
  // The window is about to close; `action` arrives as Hide and may be changed. An exception keeps
  // the window open, unless its native window is already being destroyed.
  virtual void OnClose(CloseAction& action) = 0;
  // A window closed with CloseAction::Free has ended: its owner destroys the window object now.
  virtual void OnRelease() = 0;

 protected:
  ~WindowEvents() = default;
};

// A top-level window built from a description by a backend (Backend::BuildWindow). The object owns
// the native window; destroying the object destroys the window.
class Window {
 public:
  virtual ~Window() = default;

  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;

  // The frame's position on the screen and the window's outer size, decorations included.
  virtual Rect Frame() const = 0;
  virtual void SetFrame(const Rect& frame) = 0;

  // The native window handle, creating the native window when it does not exist yet.
  virtual std::uintptr_t NativeHandle() = 0;

  // Makes the window visible, modeless, and brings it to the front.
  virtual void Show() = 0;
  // Shows the window modal and returns its modal result once it has closed.
  virtual int ShowModal() = 0;
  // Asks the window to close, as the title bar's close button does.
  virtual void Close() = 0;
  virtual bool Visible() const = 0;

  // The text of the control named `control` (an edit's text, a caption otherwise). Throws
  // WindowError for a name the window lacks.
  virtual std::string Text(std::string_view control) const = 0;
  virtual void SetText(std::string_view control, const std::string& text) = 0;
};

}  // namespace brontelx::platform
