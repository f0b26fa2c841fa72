#include "platform/win32/FormClass.h"

#include "platform/WindowError.h"
#include "platform/win32/WideText.h"

namespace brontelx::platform::win32 {

HINSTANCE RegisterWindowClass(const wchar_t* name, WNDPROC procedure) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(procedure), &module)) {
    throw WindowError("The module of the window procedure is unknown: " + SystemMessage(GetLastError()));
  }
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(module, name, &existing)) {
    if (existing.lpfnWndProc == procedure) return module;
    UnregisterClassW(name, module);
  }
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // The whole window is repainted on a resize: anchored controls move across it.
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = name;
  // No background brush: the window paints its described background itself.
  if (!RegisterClassExW(&windowClass)) {
    throw WindowError("The window class cannot be registered: " + SystemMessage(GetLastError()));
  }
  return module;
}

}  // namespace brontelx::platform::win32
