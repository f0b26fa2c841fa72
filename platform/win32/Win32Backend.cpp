#include "platform/win32/Win32Backend.h"

#include <windows.h>

#include "base/ExecutableFile.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Window.h"

namespace brontelx::platform::win32 {
namespace {

thread_local int waitDepth = 0;
thread_local HCURSOR cursorBefore = nullptr;

// The executable's file name without folder and extension.
std::wstring ProgramName() {
  try {
    return ExecutableFile().stem().wstring();
  } catch (const std::exception&) {
    return L"Error";
  }
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
