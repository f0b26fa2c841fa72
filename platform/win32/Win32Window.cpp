#include "platform/win32/Win32Window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/Layout.h"
#include "platform/win32/ControlName.h"
#include "platform/win32/FormClass.h"
#include "platform/win32/ThreadWindows.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Controls.h"

namespace brontelx::platform::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

BOOL CALLBACK DisableWindow(HWND window, LPARAM parameter) {
  auto& modal = *reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(parameter);
  if (window != modal.first && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    modal.second->push_back(window);
  }
  return TRUE;
}

}  // namespace

Win32Window::Win32Window(const WindowDescription& description, WindowEvents& events, Backend& backend)
    : gate_(events, backend, [] { PostReleases(); }), background_(description.background) {
  description.CheckStructure();
  const HINSTANCE module = RegisterWindowClass(kFormClassName, WindowProcedure);
  AddThreadWindow(*this);
  try {
    RECT outer{0, 0, description.clientWidth, description.clientHeight};
    AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
    // WindowProcedure keeps `this` with the window from WM_NCCREATE on and sets window_.
    CreateWindowExW(0, kFormClassName, ToWide(description.caption).c_str(), kWindowStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, module, this);
    if (!window_) throw WindowError("The window cannot be created: " + SystemMessage(GetLastError()));
    BuildControls(description);
  } catch (...) {
    ownerDestroying_ = true;
    if (window_) DestroyWindow(window_);
    RemoveThreadWindow(*this);
    throw;
  }
}

Win32Window::~Win32Window() {
  ownerDestroying_ = true;
  if (window_) DestroyWindow(window_);
  RemoveThreadWindow(*this);
}

void Win32Window::DestroyNative() noexcept {
  if (window_) DestroyWindow(window_);
}

void Win32Window::BuildControls(const WindowDescription& description) {
  gdi_.Brush(background_);
  keepers_.emplace(window_, AnchorKeeper({description.clientWidth, description.clientHeight}));
  controls_.reserve(description.controls.size());
  for (std::size_t index = 0; index < description.controls.size(); ++index) {
    const ControlDescription& control = description.controls[index];
    HWND parent = window_;
    Color parentBackground = background_;
    if (const NativeControl* box = control.parent.empty() ? nullptr : Named(control.parent)) {
      parent = box->handle;
      parentBackground = box->background;
    }
    const Font& font = control.font ? *control.font : description.font;
    const HWND handle = CreateControl(control, parent, kFirstControlId + static_cast<int>(index), gdi_.Font(font));
    if (!SetWindowSubclass(handle, ControlProcedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
      RemoveControlName(handle);
      DestroyWindow(handle);
      throw WindowError("The control \"" + control.name + "\" cannot be subclassed");
    }
    const Color background =
        control.background.value_or(control.kind == ControlKind::Edit ? Color{SystemColor::Window} : parentBackground);
    // Every brush is made now, so that painting never has to.
    gdi_.Brush(background);
    controls_.push_back({control.name, control.kind, handle, control.onClick, font.color, background});

    RECT placed{};
    GetWindowRect(handle, &placed);
    const Rect design{control.rect.left, control.rect.top, placed.right - placed.left, placed.bottom - placed.top};
    keepers_.at(parent).Add(handle, design, control.anchors);
    if (control.kind == ControlKind::GroupBox) {
      keepers_.emplace(handle, AnchorKeeper({control.rect.width, control.rect.height}));
    }
  }
  for (const ControlDescription* stop : TabChain(description)) tabs_.Add(Named(stop->name)->handle);
  // The system may have made the window smaller than described (a screen too small for it).
  RECT client{};
  GetClientRect(window_, &client);
  keepers_.at(window_).Place({client.right, client.bottom});
}

HWND Win32Window::Handle() const {
  if (!window_) throw WindowError("The window has been destroyed");
  return window_;
}

HWND Win32Window::Control(std::string_view name) const {
  Handle();  // throws for a window that is gone
  const NativeControl* control = Named(name);
  if (!control) throw WindowError("No control named \"" + std::string(name) + "\"");
  return control->handle;
}

const Win32Window::NativeControl* Win32Window::Named(std::string_view name) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const NativeControl& control) { return control.name == name; });
  return found == controls_.end() ? nullptr : &*found;
}

const Win32Window::NativeControl* Win32Window::ControlOf(HWND handle) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const NativeControl& control) { return control.handle == handle; });
  return found == controls_.end() ? nullptr : &*found;
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
  gate_.Enter();
  std::pair<HWND, std::vector<HWND>*> modal{window_, &disabledByModal_};
  EnumThreadWindows(GetCurrentThreadId(), DisableWindow, reinterpret_cast<LPARAM>(&modal));
  ShowWindow(window_, SW_SHOW);
  SetForegroundWindow(window_);
  MSG message;
  while (window_ && IsWindowVisible(window_)) {
    const BOOL received = GetMessageW(&message, nullptr, 0, 0);
    if (received == 0) {
      // The quit belongs to the host's own loop, which gets it again.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (received == -1) break;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  EnableOtherWindows();
  gate_.Leave();
  return kModalCancel;
}

void Win32Window::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

bool Win32Window::Visible() const { return window_ && IsWindowVisible(window_); }

std::string Win32Window::Text(std::string_view control) const { return ControlText(Control(control)); }

void Win32Window::SetText(std::string_view control, const std::string& text) { SetControlText(Control(control), text); }

void Win32Window::HandleClick(HWND control) {
  const NativeControl* clicked = ControlOf(control);
  if (!clicked || clicked->onClick.empty()) return;
  gate_.Click(clicked->onClick);
}

void Win32Window::HandleClose() {
  if (!gate_.Close()) return;
  // Enabled again before the window hides, so that the window that opened it becomes active.
  EnableOtherWindows();
  ShowWindow(window_, SW_HIDE);
}

void Win32Window::EnableOtherWindows() {
  for (const HWND window : disabledByModal_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabledByModal_.clear();
}


}  // namespace brontelx::platform::win32
