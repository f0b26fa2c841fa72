#include "FormWindow.h"

#include <commctrl.h>

#include <algorithm>

#include "ControlName.h"
#include "ErrorBox.h"
#include "FormClass.h"
#include "Layout.h"
#include "StandardErrorBox.h"
#include "ThreadWindows.h"
#include "WideText.h"
#include "Win32Controls.h"
#include "Win32WaitCursor.h"

namespace brontelx::platform::win32 {
namespace {

constexpr DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr UINT_PTR kSubclassId = 1;
// Posted to the window itself once a close with CloseAction::Free has completed.
constexpr UINT kReleaseMessage = WM_APP + 1;

BOOL CALLBACK DisableWindow(HWND window, LPARAM parameter) {
  auto& modal = *reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(parameter);
  if (window != modal.first && IsWindowVisible(window) && IsWindowEnabled(window)) {
    EnableWindow(window, FALSE);
    modal.second->push_back(window);
  }
  return TRUE;
}

}  // namespace

FormWindow::FormWindow(const WindowDescription& description, WindowEvents& events)
    : events_(events), background_(description.background) {
  const HINSTANCE module = RegisterFormClass(WindowProcedure);
  RECT outer{0, 0, description.clientWidth, description.clientHeight};
  AdjustWindowRectEx(&outer, kWindowStyle, FALSE, 0);
  // WindowProcedure keeps `this` with the window from WM_NCCREATE on and sets window_.
  CreateWindowExW(0, kFormClassName, ToWide(description.caption).c_str(), kWindowStyle, CW_USEDEFAULT,
                  CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr, module, this);
  if (!window_) throw WindowError("The window cannot be created: " + SystemMessage(GetLastError()));
  try {
    AddThreadWindow(window_);
    BuildControls(description);
  } catch (...) {
    ownerDestroying_ = true;
    DestroyWindow(window_);
    throw;
  }
}

FormWindow::~FormWindow() {
  ownerDestroying_ = true;
  if (window_) DestroyWindow(window_);
}

void FormWindow::BuildControls(const WindowDescription& description) {
  gdi_.Brush(background_);
  keepers_.emplace(window_, AnchorKeeper({description.clientWidth, description.clientHeight}));
  controls_.reserve(description.controls.size());
  for (std::size_t index = 0; index < description.controls.size(); ++index) {
    const ControlDescription& control = description.controls[index];
    HWND parent = window_;
    Color parentBackground = background_;
    if (!control.parent.empty()) {
      const NativeControl* box = Named(control.parent);
      if (!box || box->kind != ControlKind::GroupBox) {
        throw WindowError("The parent \"" + control.parent + "\" of control \"" + control.name +
                          "\" is no group box described before it");
      }
      parent = box->handle;
      parentBackground = box->background;
    }
    if (Named(control.name)) throw WindowError("Two controls named \"" + control.name + "\"");
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

HWND FormWindow::Control(std::string_view name) const {
  if (!window_) throw WindowError("The window has been destroyed");
  const NativeControl* control = Named(name);
  if (!control) throw WindowError("No control named \"" + std::string(name) + "\"");
  return control->handle;
}

const FormWindow::NativeControl* FormWindow::Named(std::string_view name) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const NativeControl& control) { return control.name == name; });
  return found == controls_.end() ? nullptr : &*found;
}

const FormWindow::NativeControl* FormWindow::ControlOf(HWND handle) const {
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const NativeControl& control) { return control.handle == handle; });
  return found == controls_.end() ? nullptr : &*found;
}

LRESULT CALLBACK FormWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    const LRESULT result = DefWindowProcW(window, message, wParam, lParam);
    self->Destroyed();  // may have destroyed this object
    return result;
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // No exception may unwind into the system's code; the handlers are guarded, so this is only
    // ever a failure to allocate, and the default handling serves.
    return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
      if (WaitCursorShown()) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      if (!ownerDestroying_ && !releaseOnDestroy_) CloseForDestruction();
      break;
    case kReleaseMessage:
      Release();  // may have destroyed this object
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK FormWindow::ControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                              DWORD_PTR self) {
  try {
    return reinterpret_cast<FormWindow*>(self)->HandleControlMessage(control, message, wParam, lParam);
  } catch (...) {
    return DefSubclassProc(control, message, wParam, lParam);
  }
}

LRESULT FormWindow::HandleControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
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

LRESULT FormWindow::ControlColors(HDC dc, const NativeControl& control) {
  SetTextColor(dc, ToColorRef(control.textColor));
  SetBkColor(dc, ToColorRef(control.background));
  return reinterpret_cast<LRESULT>(gdi_.Brush(control.background));
}

void FormWindow::FillBackground(HWND window, HDC dc, const Color& color) {
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, gdi_.Brush(color));
}

void FormWindow::Place(HWND container, LPARAM size) {
  if (const auto keeper = keepers_.find(container); keeper != keepers_.end()) {
    keeper->second.Place({LOWORD(size), HIWORD(size)});
  }
}

void FormWindow::HandleClick(HWND control) {
  const NativeControl* clicked = ControlOf(control);
  if (!clicked || clicked->onClick.empty()) return;
  const std::string handler = clicked->onClick;
  Guarded([&] { events_.OnClick(handler); });
}

void FormWindow::HandleClose() {
  CloseAction action = CloseAction::Hide;
  if (Guarded([&] { events_.OnClose(action); }) != Outcome::Succeeded) return;
  // Enabled again before the window hides, so that the window that opened it becomes active.
  EnableOtherWindows();
  ShowWindow(window_, SW_HIDE);
  if (action == CloseAction::Free) {
    releaseOnDestroy_ = true;
    PostRelease();
  }
}

void FormWindow::CloseForDestruction() {
  CloseAction action = CloseAction::Hide;
  // The window still exists while this message is handled: the handler cannot release the owner.
  Guarded([&] { events_.OnClose(action); });
  EnableOtherWindows();
  releaseOnDestroy_ = action == CloseAction::Free;
}

void FormWindow::FocusInside() {
  const bool savedUsable = savedFocus_ && IsWindow(savedFocus_) && IsChild(window_, savedFocus_) &&
                           IsWindowVisible(savedFocus_) && IsWindowEnabled(savedFocus_);
  if (const HWND target = savedUsable ? savedFocus_ : tabs_.First()) SetFocus(target);
}

void FormWindow::RunModal() {
  ++handlersRunning_;
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
  LeaveHandler();
}

void FormWindow::EnableOtherWindows() {
  for (const HWND window : disabledByModal_) {
    if (IsWindow(window)) EnableWindow(window, TRUE);
  }
  disabledByModal_.clear();
}

FormWindow::Outcome FormWindow::Guarded(const std::function<void()>& handler) {
  ++handlersRunning_;
  const bool succeeded = RunGuarded(handler, StandardErrorBox);
  if (LeaveHandler()) return Outcome::Released;
  return succeeded ? Outcome::Succeeded : Outcome::Failed;
}

bool FormWindow::LeaveHandler() {
  if (--handlersRunning_ > 0) return false;
  if (!window_) {
    // Destroyed while the handler ran.
    if (!releaseOnDestroy_ || ownerDestroying_) return false;
    ReleaseOwner();
    return true;
  }
  if (releasePending_) {
    releasePending_ = false;
    PostRelease();
  }
  return false;
}

void FormWindow::PostRelease() {
  // Never with a null window: that would post to the thread, where no window would see it.
  if (window_) PostMessageW(window_, kReleaseMessage, 0, 0);
}

void FormWindow::Release() {
  if (handlersRunning_ > 0) {
    releasePending_ = true;
    return;
  }
  DestroyWindow(window_);  // may have destroyed this object
}

void FormWindow::Destroyed() {
  RemoveThreadWindow(window_);
  window_ = nullptr;
  if (releaseOnDestroy_ && !ownerDestroying_ && handlersRunning_ == 0) ReleaseOwner();
}

void FormWindow::ReleaseOwner() {
  releaseOnDestroy_ = false;
  RunGuarded([this] { events_.OnRelease(); }, StandardErrorBox);
}

}  // namespace brontelx::platform::win32
