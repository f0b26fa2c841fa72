#pragma once

#include <windows.h>

#include <memory>

#include "FormWindow.h"
#include "Window.h"

namespace brontelx::platform::win32 {

// A window of the Win32 backend: owns its FormWindow. The native handle is the HWND.
class Win32Window : public Window {
 public:
  Win32Window(const WindowDescription& description, WindowEvents& events);

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  Rect Frame() const override;
  void SetFrame(const Rect& frame) override;
  std::uintptr_t NativeHandle() override;
  void Show() override;
  int ShowModal() override;
  void Close() override;
  bool Visible() const override;
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, const std::string& text) override;

 private:
  // The native window; throws WindowError once something else has destroyed it.
  HWND Handle() const;

  std::unique_ptr<FormWindow> form_;
};

}  // namespace brontelx::platform::win32
