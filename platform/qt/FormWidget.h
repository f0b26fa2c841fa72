#pragma once

#include <QHash>
#include <QString>
#include <QWidget>

#include <functional>

#include "Window.h"

namespace brontelx::platform::qt {

// The top-level widget of a window: its controls built from the description, anchored, in tab
// order, and its close event turned into the window's close handling.
class FormWidget : public QWidget {
 public:
  FormWidget(const WindowDescription& description, WindowEvents& events);

  // The control named `name`, or null.
  QWidget* Control(const QString& name) const { return controls_.value(name); }

  // Runs a local event loop until the window has been hidden or closed.
  void RunModal();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void BuildControls(const WindowDescription& description);
  // Runs an event handler through the guard; false when it failed.
  bool RunHandler(const std::function<void()>& handler);
  void PostRelease();
  void Release();
  // A release is held back while a handler or a modal loop still runs on this widget.
  bool Busy() const { return handlerDepth_ > 0 || modalDepth_ > 0; }

  WindowEvents& events_;
  QHash<QString, QWidget*> controls_;
  std::function<void()> onHidden_;
  int handlerDepth_ = 0;
  int modalDepth_ = 0;
  bool releasePending_ = false;
};

}  // namespace brontelx::platform::qt
