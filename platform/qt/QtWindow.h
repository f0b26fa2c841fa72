#pragma once

#include <QSize>

#include <memory>
#include <optional>

#include "FormWidget.h"
#include "Window.h"

namespace brontelx::platform::qt {

// A window of the Qt backend: owns its top-level FormWidget.
class QtWindow : public Window {
 public:
  QtWindow(const WindowDescription& description, WindowEvents& events);

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
  QWidget& ControlNamed(std::string_view name) const;

  std::unique_ptr<FormWidget> widget_;
  // The frame SetFrame last gave the window, and the client size that gave it.
  std::optional<Rect> given_;
  QSize givenClientSize_;
};

}  // namespace brontelx::platform::qt
