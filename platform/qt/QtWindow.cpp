#include "QtWindow.h"

#include <QGuiApplication>
#include <QWindow>

#include "QtControls.h"
#include "QtText.h"

namespace brontelx::platform::qt {

QtWindow::QtWindow(const WindowDescription& description, WindowEvents& events)
    : widget_(std::make_unique<FormWidget>(description, events)) {}

std::string QtWindow::Caption() const { return FromQString(widget_->windowTitle()); }

void QtWindow::SetCaption(const std::string& caption) { widget_->setWindowTitle(ToQString(caption)); }

Rect QtWindow::Frame() const {
  const QRect frame = widget_->frameGeometry();
  // Until the window is moved or resized it keeps the frame it was given: a window manager that
  // reports its decorations only once the window is shown does not make it look resized.
  if (given_ && widget_->size() == givenClientSize_ && frame.topLeft() == QPoint(given_->left, given_->top)) {
    return *given_;
  }
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void QtWindow::SetFrame(const Rect& frame) {
  // The outer size includes the decorations, as far as the window system has reported them; a
  // native window that does not exist yet has none to report, so it is created first.
  widget_->winId();
  const QMargins decorations = widget_->windowHandle()->frameMargins();
  widget_->move(frame.left, frame.top);
  widget_->resize(frame.width - decorations.left() - decorations.right(),
                  frame.height - decorations.top() - decorations.bottom());
  given_ = frame;
  givenClientSize_ = widget_->size();
}

std::uintptr_t QtWindow::NativeHandle() { return static_cast<std::uintptr_t>(widget_->winId()); }

void QtWindow::Show() {
  widget_->show();
  // The offscreen platform has no stacking order and warns about every attempt to change it.
  if (QGuiApplication::platformName() != "offscreen") widget_->raise();
  widget_->activateWindow();
}

int QtWindow::ShowModal() {
  widget_->RunModal();
  return kModalCancel;
}

void QtWindow::Close() { widget_->close(); }

bool QtWindow::Visible() const { return widget_->isVisible(); }

QWidget& QtWindow::ControlNamed(std::string_view name) const {
  QWidget* control = widget_->Control(ToQString(name));
  if (!control) throw WindowError("No control named \"" + std::string(name) + "\"");
  return *control;
}

std::string QtWindow::Text(std::string_view control) const { return FromQString(ControlText(&ControlNamed(control))); }

void QtWindow::SetText(std::string_view control, const std::string& text) {
  SetControlText(&ControlNamed(control), ToQString(text));
}

}  // namespace brontelx::platform::qt
