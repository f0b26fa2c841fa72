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
  void PostRelease();
  void Release();

  WindowEvents& events_;
  QHash<QString, QWidget*> controls_;
  std::function<void()> onHidden_;
  int modalDepth_ = 0;
  bool releasePending_ = false;
};

// The box that shows an error's message: QMessageBox::critical.
void StandardErrorBox(const std::string& message);

}  // namespace brontelx::platform::qt
