#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "AnchorKeeper.h"
#include "GdiCache.h"
#include "TabRing.h"
#include "Window.h"

namespace brontelx::platform::win32 {

// The native top-level window of a description and its message handling: controls built from the
// description, anchored on WM_SIZE, painted in their colours, a Tab key that works without the
// host's IsDialogMessage, clicks and closes turned into the window's events.
//
// Group boxes are real parents: a grouped control is a child of its group box, at its described
// rectangle relative to the box, so it moves with the box and its anchors are computed against
// the box. A group box does not pass on what its children send their parent (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*), so the backend subclasses it to forward those to the top window,
// which handles every control in one place.
//
// The owner is released (OnRelease, which may destroy this object) on the native window's final
// destruction message, whichever way led there, and nothing of this object is touched afterwards:
// - a close with CloseAction::Free hides the window and posts a release message to it, which
//   destroys it from the message loop once no handler of the window is running (one that opened a
//   message box runs a nested loop);
// - a window destroyed without such a close (by the host through its handle, or on its thread's
//   way out: ThreadWindows) first runs the close handler, which decides as for a close whether the
//   owner is released; nothing can keep it open. When a handler of the window is still running
//   then, the release waits until it has returned.
// A window whose object is destroyed by its owner releases nothing.
class FormWindow {
 public:
  FormWindow(const WindowDescription& description, WindowEvents& events);
  ~FormWindow();
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // The native window; null once something else has destroyed it.
  HWND Handle() const { return window_; }
  // The control named `name`; throws WindowError for a name the window lacks.
  HWND Control(std::string_view name) const;
  // Shows the window with the thread's other windows disabled, and runs a message loop until it
  // has been hidden or destroyed.
  void RunModal();

 private:
  struct NativeControl {
    std::string name;
    ControlKind kind;
    HWND handle;
    std::string onClick;
    Color textColor;
    Color background;
  };

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

  void BuildControls(const WindowDescription& description);
  const NativeControl* Named(std::string_view name) const;
  const NativeControl* ControlOf(HWND handle) const;
  LRESULT ControlColors(HDC dc, const NativeControl& control);
  void FillBackground(HWND window, HDC dc, const Color& color);
  void Place(HWND container, LPARAM size);

  void HandleClick(HWND control);
  void HandleClose();
  void FocusInside();
  void EnableOtherWindows();

  // What became of a guarded handler. Released: the owner has been released meanwhile, and this
  // object may be gone.
  enum class Outcome { Succeeded, Failed, Released };
  // Runs an event handler guarded; a release that arrives meanwhile waits until it has returned.
  Outcome Guarded(const std::function<void()>& handler);
  // Returns true when the owner has been released.
  bool LeaveHandler();
  void PostRelease();
  void Release();
  void CloseForDestruction();
  void Destroyed();
  void ReleaseOwner();

  WindowEvents& events_;
  // Declared before the native window's handle: the fonts and brushes outlive the controls.
  GdiCache gdi_;
  Color background_;
  std::vector<NativeControl> controls_;
  std::map<HWND, AnchorKeeper> keepers_;  // the window's and each group box's
  TabRing tabs_;
  HWND window_ = nullptr;
  HWND savedFocus_ = nullptr;          // the control that had the focus when the window was deactivated
  std::vector<HWND> disabledByModal_;  // the windows RunModal disabled
  int handlersRunning_ = 0;
  bool releasePending_ = false;    // a release message arrived while a handler was running
  bool releaseOnDestroy_ = false;  // the close decided that the owner is released
  bool ownerDestroying_ = false;   // the destructor destroys the window
};

}  // namespace brontelx::platform::win32
