#pragma once

#include <string>

namespace brontelx::platform::qt {

// The backend's standard error message box: QMessageBox::critical over the active window.
void StandardErrorBox(const std::string& message);

}  // namespace brontelx::platform::qt
