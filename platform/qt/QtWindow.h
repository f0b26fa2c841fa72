#pragma once

#include <QHash>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "platform/Backend.h"
#include "platform/ReleaseGate.h"
#include "platform/Window.h"
#include "platform/qt/QtFormWidget.h"

namespace brontelx::platform::qt {

// A window of the Qt backend: a top-level widget holding the controls of its description, anchored
// and in tab order. Its close event is the window's close; a host that deletes the widget ends the
// window as its thread's end ends a Win32 one; releases are posted to the application.
class QtWindow final : public Window, private QtFormWidget::Listener {
 public:
  QtWindow(const WindowDescription& description, WindowEvents& events, Backend& backend);
  ~QtWindow() override;
  QtWindow(const QtWindow&) = delete;
  QtWindow& operator=(const QtWindow&) = delete;

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  Rect Frame() const override;
  void SetFrame(const Rect& frame) override;
  std::uintptr_t NativeHandle() override;
  void Show() override;
  // Runs a local event loop until the window has been hidden, closed or destroyed.
  int ShowModal() override;
  void Close() override;
  bool Visible() const override;
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, const std::string& text) override;

 private:
  bool Closing() override;
  void Hidden(bool spontaneous) override;
  void Destroying() override;

  void BuildControls(const WindowDescription& description);
  // The widget; throws WindowError once a host has destroyed it.
  QtFormWidget& Widget() const;
  QWidget& ControlNamed(std::string_view name) const;
  void PostRelease();

  ReleaseGate gate_;
  QtFormWidget* widget_;  // null once a host has destroyed it
  QHash<QString, QWidget*> controls_;
  std::function<void()> onHidden_;  // ends the loop of ShowModal
  // The frame SetFrame last gave the window, and the client size that gave it.
  std::optional<Rect> given_;
  QSize givenClientSize_;
  // Tells a posted release whether this object still exists.
  std::shared_ptr<QtWindow*> self_ = std::make_shared<QtWindow*>(this);
};

}  // namespace brontelx::platform::qt
