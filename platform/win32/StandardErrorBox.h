#pragma once

#include <string>

namespace brontelx::platform::win32 {

// The standard error box of the backend: MessageBoxW with MB_ICONERROR, owned by the thread's
// active window and titled with the program's name, as an application's own boxes are.
void StandardErrorBox(const std::string& message);

}  // namespace brontelx::platform::win32
