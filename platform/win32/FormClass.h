#pragma once

#include <windows.h>

namespace brontelx::platform::win32 {

inline constexpr wchar_t kFormClassName[] = L"BrontelX.Form";

// Registers a window class of the backend (kFormClassName for its top-level windows) for the module
// that contains `procedure` (the DLL when the backend is linked into one), and returns that module.
// A class left registered by an earlier load of the same module at another address, whose
// procedure is gone, is registered anew: Windows keeps a DLL's classes when the DLL is unloaded.
// Throws WindowError when the class cannot be registered.
HINSTANCE RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

}  // namespace brontelx::platform::win32
