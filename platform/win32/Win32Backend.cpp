#include "Win32Backend.h"

#include <windows.h>

#include "WideText.h"
#include "Win32Window.h"

namespace brontelx::platform::win32 {
namespace {

thread_local int waitDepth = 0;
thread_local HCURSOR cursorBefore = nullptr;

// The executable's file name without folder and extension.
std::wstring ProgramName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return L"Error";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0) name.resize(dot);
  return name;
}

}  // namespace

std::unique_ptr<Window> Win32Backend::BuildWindow(const WindowDescription& description, WindowEvents& events) {
  return std::make_unique<Win32Window>(description, events, *this);
}

void Win32Backend::ShowError(const std::string& message) {
  MessageBoxW(GetActiveWindow(), ToWide(message).c_str(), ProgramName().c_str(), MB_OK | MB_ICONERROR);
}

void Win32Backend::BeginWait() {
  if (waitDepth++ == 0) cursorBefore = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void Win32Backend::EndWait() noexcept {
  if (--waitDepth == 0) SetCursor(cursorBefore);
}

bool Win32Backend::WaitCursorShown() { return waitDepth > 0; }

}  // namespace brontelx::platform::win32
