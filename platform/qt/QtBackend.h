#pragma once

#include "platform/Backend.h"

namespace brontelx::platform::qt {

// The Qt 6 Widgets backend: its windows are top-level widgets of the QApplication the host
// created, on that application's thread; its error box is QMessageBox::critical over the active
// window; its wait cursor the application's override cursor.
class QtBackend : public Backend {
 public:
  std::unique_ptr<Window> BuildWindow(const WindowDescription& description, WindowEvents& events) override;
  void ShowError(const std::string& message) override;
  void BeginWait() override;
  void EndWait() noexcept override;
};

}  // namespace brontelx::platform::qt
