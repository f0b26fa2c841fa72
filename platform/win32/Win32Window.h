#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Backend.h"
#include "platform/ReleaseGate.h"
#include "platform/Window.h"
#include "platform/win32/AnchorKeeper.h"
#include "platform/win32/GdiCache.h"
#include "platform/win32/TabRing.h"

namespace brontelx::platform::win32 {

// A window of the Win32 backend: a native top-level window (the HWND is its handle) of a window
// class of the backend's own, with the controls of its description, anchored on WM_SIZE, painted
// in their colours, a Tab key that works without the host's IsDialogMessage, and clicks and closes
// turned into the window's events.
//
// Group boxes are real parents: a grouped control is a child of its group box, at its described
// rectangle relative to the box, so it moves with the box and its anchors are computed against
// the box. A group box does not pass on what its children send their parent (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*), so the backend subclasses it to forward those to the top window,
// which handles every control in one place.
//
// Its ReleaseGate decides when the owner is released; ThreadWindows delivers the releases. A native
// window destroyed without a close that freed it (by the host through its handle, or on its
// thread's way out) first runs the close handler, which decides as for a close whether the owner is
// released; nothing can keep it open. A window whose object is destroyed by its owner releases
// nothing.
class Win32Window final : public Window {
 public:
  Win32Window(const WindowDescription& description, WindowEvents& events, Backend& backend);
  ~Win32Window() override;
  Win32Window(const Win32Window&) = delete;
  Win32Window& operator=(const Win32Window&) = delete;

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  Rect Frame() const override;
  void SetFrame(const Rect& frame) override;
  std::uintptr_t NativeHandle() override;
  void Show() override;
  // Shows the window with the thread's other windows disabled, and runs a message loop until it
  // has been hidden or destroyed.
  int ShowModal() override;
  // Sends WM_CLOSE, as the title bar's close button does.
  void Close() override;
  bool Visible() const override;
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, const std::string& text) override;

  // For ThreadWindows: destroys the native window as a host would; the release asked for has been
  // posted and not delivered yet; delivers it.
  void DestroyNative() noexcept;
  bool ReleasePending() const { return gate_.Pending(); }
  void DeliverRelease() { gate_.Arrive(); }

 private:
  static constexpr UINT_PTR kSubclassId = 1;

  struct NativeControl {
    std::string name;
    ControlKind kind;
    HWND handle;
    std::string onClick;
    Color textColor;
    Color background;
  };

  // Win32Window.cpp: building, the window's interface, closing.
  void BuildControls(const WindowDescription& description);
  // The native window; throws WindowError once something else has destroyed it.
  HWND Handle() const;
  // The control named `name`; throws WindowError for a name the window lacks.
  HWND Control(std::string_view name) const;
  const NativeControl* Named(std::string_view name) const;
  const NativeControl* ControlOf(HWND handle) const;
  void HandleClick(HWND control);
  void HandleClose();
  void EnableOtherWindows();

  // Win32Window.Messages.cpp: the window procedures, painting and the focus.
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT ControlColors(HDC dc, const NativeControl& control);
  void FillBackground(HWND window, HDC dc, const Color& color);
  void Place(HWND container, LPARAM size);
  void FocusInside();

  ReleaseGate gate_;
  // Declared before the native window's handle: the fonts and brushes outlive the controls.
  GdiCache gdi_;
  Color background_;
  std::vector<NativeControl> controls_;
  std::map<HWND, AnchorKeeper> keepers_;  // the window's and each group box's
  TabRing tabs_;
  HWND window_ = nullptr;
  HWND savedFocus_ = nullptr;          // the control that had the focus when the window was deactivated
  std::vector<HWND> disabledByModal_;  // the windows ShowModal disabled
  bool ownerDestroying_ = false;       // the owner destroys the window: no close runs
};

}  // namespace brontelx::platform::win32
