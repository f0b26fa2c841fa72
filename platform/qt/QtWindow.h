#pragma once

#include <QHash>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

#include "Backend.h"
#include "ReleaseGate.h"
#include "Window.h"

namespace brontelx::platform::qt {

// A window of the Qt backend: a top-level widget holding the controls of its description,
// anchored and in tab order. Its close event is the window's close; a release is posted to the
// application.
class QtWindow final : public QWidget, public Window {
 public:
  QtWindow(const WindowDescription& description, WindowEvents& events, Backend& backend);
  ~QtWindow() override;

  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  Rect Frame() const override;
  void SetFrame(const Rect& frame) override;
  std::uintptr_t NativeHandle() override;
  void Show() override;
  // Runs a local event loop until the window has been hidden or closed.
  int ShowModal() override;
  void Close() override;
  bool Visible() const override;
  std::string Text(std::string_view control) const override;
  void SetText(std::string_view control, const std::string& text) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls(const WindowDescription& description);
  QWidget& ControlNamed(std::string_view name) const;
  bool PostRelease();

  WindowEvents& events_;
  ReleaseGate gate_;
  QHash<QString, QWidget*> controls_;
  std::function<void()> onHidden_;  // ends the loop of ShowModal
  // The frame SetFrame last gave the window, and the client size that gave it.
  std::optional<Rect> given_;
  QSize givenClientSize_;
};

}  // namespace brontelx::platform::qt
