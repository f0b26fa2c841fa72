#include "platform/qt/QtWindow.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

#include "platform/Layout.h"
#include "platform/qt/AnchorKeeper.h"
#include "platform/qt/QtControls.h"
#include "platform/qt/QtText.h"

namespace brontelx::platform::qt {

QtWindow::QtWindow(const WindowDescription& description, WindowEvents& events, Backend& backend)
    : gate_(events, backend, [this] { PostRelease(); }), widget_(new QtFormWidget(*this)) {
  try {
    description.CheckStructure();
    widget_->setWindowTitle(ToQString(description.caption));
    widget_->resize(description.clientWidth, description.clientHeight);
    ApplyFont(widget_, description.font);
    QPalette palette = widget_->palette();
    palette.setColor(QPalette::Window, ToQColor(description.background));
    widget_->setPalette(palette);
    widget_->setAutoFillBackground(true);
    BuildControls(description);
  } catch (...) {
    widget_->Detach();
    delete widget_;
    throw;
  }
}

QtWindow::~QtWindow() {
  if (!widget_) return;
  widget_->Detach();
  delete widget_;
}

void QtWindow::BuildControls(const WindowDescription& description) {
  QHash<QWidget*, AnchorKeeper*> keepers{{widget_, new AnchorKeeper(widget_)}};
  const auto onClick = [this](const std::string& handler) { gate_.Click(handler); };
  for (const ControlDescription& control : description.controls) {
    QWidget* parent = control.parent.empty() ? widget_ : controls_.value(ToQString(control.parent));
    QWidget* widget = BuildControl(control, parent, onClick);
    controls_.insert(widget->objectName(), widget);
    keepers.value(parent)->Add(widget, control.anchors);
    if (control.kind == ControlKind::GroupBox) keepers.insert(widget, new AnchorKeeper(widget));
  }
  const std::vector<const ControlDescription*> chain = TabChain(description);
  for (std::size_t i = 1; i < chain.size(); ++i) {
    QWidget::setTabOrder(controls_.value(ToQString(chain[i - 1]->name)), controls_.value(ToQString(chain[i]->name)));
  }
}

QtFormWidget& QtWindow::Widget() const {
  if (!widget_) throw WindowError("The window has been destroyed");
  return *widget_;
}

std::string QtWindow::Caption() const { return FromQString(Widget().windowTitle()); }

void QtWindow::SetCaption(const std::string& caption) { Widget().setWindowTitle(ToQString(caption)); }

Rect QtWindow::Frame() const {
  const QWidget& widget = Widget();
  const QRect frame = widget.frameGeometry();
  // Until the window is moved or resized it keeps the frame it was given: a window manager that
  // reports its decorations only once the window is shown does not make it look resized.
  if (given_ && widget.size() == givenClientSize_ && frame.topLeft() == QPoint(given_->left, given_->top)) return *given_;
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void QtWindow::SetFrame(const Rect& frame) {
  // The outer size includes the decorations, as far as the window system has reported them; a
  // native window that does not exist yet has none to report, so it is created first.
  QWidget& widget = Widget();
  widget.winId();
  const QMargins decorations = widget.windowHandle()->frameMargins();
  widget.move(frame.left, frame.top);
  widget.resize(frame.width - decorations.left() - decorations.right(),
                frame.height - decorations.top() - decorations.bottom());
  given_ = frame;
  givenClientSize_ = widget.size();
}

std::uintptr_t QtWindow::NativeHandle() { return static_cast<std::uintptr_t>(Widget().winId()); }

void QtWindow::Show() {
  QWidget& widget = Widget();
  widget.show();
  // The offscreen platform has no stacking order and warns about every attempt to change it.
  if (QGuiApplication::platformName() != "offscreen") widget.raise();
  widget.activateWindow();
}

int QtWindow::ShowModal() {
  QWidget& widget = Widget();
  // Modality takes effect when a window is shown: one shown modeless is shown again.
  if (widget.isVisible()) widget.hide();
  QEventLoop loop;
  onHidden_ = [&loop] { loop.quit(); };
  gate_.Enter();
  widget.setWindowModality(Qt::ApplicationModal);
  Show();
  if (widget.isVisible()) loop.exec();
  onHidden_ = nullptr;
  if (widget_) widget_->setWindowModality(Qt::NonModal);
  gate_.Leave();
  return kModalCancel;
}

void QtWindow::Close() { Widget().close(); }

bool QtWindow::Visible() const { return widget_ && widget_->isVisible(); }

QWidget& QtWindow::ControlNamed(std::string_view name) const {
  Widget();  // throws for a window that is gone
  QWidget* control = controls_.value(ToQString(name));
  if (!control) throw WindowError("No control named \"" + std::string(name) + "\"");
  return *control;
}

std::string QtWindow::Text(std::string_view control) const { return FromQString(ControlText(&ControlNamed(control))); }

void QtWindow::SetText(std::string_view control, const std::string& text) {
  SetControlText(&ControlNamed(control), ToQString(text));
}

bool QtWindow::Closing() { return gate_.Close(); }

void QtWindow::Hidden(bool spontaneous) {
  // A window minimised by the user is hidden by the window system but still open.
  if (onHidden_ && !spontaneous) onHidden_();
}

void QtWindow::Destroying() {
  // The widget is still whole here, so a close handler can still read its frame.
  gate_.NativeWindowGoing();
  widget_ = nullptr;
  if (onHidden_) onHidden_();
}

void QtWindow::PostRelease() {
  // Posted to the application, not to the widget: the release destroys this object, which must
  // not happen while one of the widget's own events is being delivered, and the widget may be
  // gone before the request arrives.
  QTimer::singleShot(0, QCoreApplication::instance(), [self = std::weak_ptr<QtWindow*>(self_)] {
    if (const std::shared_ptr<QtWindow*> window = self.lock()) (*window)->gate_.Arrive();
  });
}

}  // namespace brontelx::platform::qt
