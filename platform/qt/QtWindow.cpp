#include "QtWindow.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include "AnchorKeeper.h"
#include "Layout.h"
#include "QtControls.h"
#include "QtText.h"

namespace brontelx::platform::qt {

QtWindow::QtWindow(const WindowDescription& description, WindowEvents& events, Backend& backend)
    : events_(events), gate_(events, backend, [this] { return PostRelease(); }) {
  description.CheckStructure();
  setWindowTitle(ToQString(description.caption));
  resize(description.clientWidth, description.clientHeight);
  ApplyFont(this, description.font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(description.background));
  setPalette(palette);
  setAutoFillBackground(true);
  BuildControls(description);
}

QtWindow::~QtWindow() {
  // The widget is still whole here, so the owner can still read its frame.
  events_.OnDestroyed();
}

void QtWindow::BuildControls(const WindowDescription& description) {
  QHash<QWidget*, AnchorKeeper*> keepers{{this, new AnchorKeeper(this)}};
  const auto onClick = [this](const std::string& handler) { gate_.Run([&] { events_.OnClick(handler); }); };
  for (const ControlDescription& control : description.controls) {
    QWidget* parent = control.parent.empty() ? this : controls_.value(ToQString(control.parent));
    QWidget* widget = BuildControl(control, parent, onClick);
    controls_.insert(widget->objectName(), widget);
    keepers.value(parent)->Add(widget, control.anchors);
    if (control.kind == ControlKind::GroupBox) keepers.insert(widget, new AnchorKeeper(widget));
  }
  const std::vector<const ControlDescription*> chain = TabChain(description);
  for (std::size_t i = 1; i < chain.size(); ++i) {
    setTabOrder(controls_.value(ToQString(chain[i - 1]->name)), controls_.value(ToQString(chain[i]->name)));
  }
}

std::string QtWindow::Caption() const { return FromQString(windowTitle()); }

void QtWindow::SetCaption(const std::string& caption) { setWindowTitle(ToQString(caption)); }

Rect QtWindow::Frame() const {
  const QRect frame = frameGeometry();
  // Until the window is moved or resized it keeps the frame it was given: a window manager that
  // reports its decorations only once the window is shown does not make it look resized.
  if (given_ && size() == givenClientSize_ && frame.topLeft() == QPoint(given_->left, given_->top)) return *given_;
  return {frame.x(), frame.y(), frame.width(), frame.height()};
}

void QtWindow::SetFrame(const Rect& frame) {
  // The outer size includes the decorations, as far as the window system has reported them; a
  // native window that does not exist yet has none to report, so it is created first.
  winId();
  const QMargins decorations = windowHandle()->frameMargins();
  move(frame.left, frame.top);
  resize(frame.width - decorations.left() - decorations.right(),
         frame.height - decorations.top() - decorations.bottom());
  given_ = frame;
  givenClientSize_ = size();
}

std::uintptr_t QtWindow::NativeHandle() { return static_cast<std::uintptr_t>(winId()); }

void QtWindow::Show() {
  show();
  // The offscreen platform has no stacking order and warns about every attempt to change it.
  if (QGuiApplication::platformName() != "offscreen") raise();
  activateWindow();
}

int QtWindow::ShowModal() {
  // Modality takes effect when a window is shown: one shown modeless is shown again.
  if (isVisible()) hide();
  QEventLoop loop;
  onHidden_ = [&loop] { loop.quit(); };
  gate_.Enter();
  setWindowModality(Qt::ApplicationModal);
  Show();
  if (isVisible()) loop.exec();
  onHidden_ = nullptr;
  setWindowModality(Qt::NonModal);
  gate_.Leave();
  return kModalCancel;
}

void QtWindow::Close() { close(); }

bool QtWindow::Visible() const { return isVisible(); }

QWidget& QtWindow::ControlNamed(std::string_view name) const {
  QWidget* control = controls_.value(ToQString(name));
  if (!control) throw WindowError("No control named \"" + std::string(name) + "\"");
  return *control;
}

std::string QtWindow::Text(std::string_view control) const { return FromQString(ControlText(&ControlNamed(control))); }

void QtWindow::SetText(std::string_view control, const std::string& text) {
  SetControlText(&ControlNamed(control), ToQString(text));
}

void QtWindow::closeEvent(QCloseEvent* event) {
  CloseAction action = CloseAction::Hide;
  if (gate_.Run([&] { events_.OnClose(action); }) != ReleaseGate::Outcome::Succeeded) {
    event->ignore();
    return;
  }
  event->accept();
  if (action == CloseAction::Free) gate_.Request();
}

void QtWindow::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A window minimised by the user is hidden by the window system but still open.
  if (onHidden_ && !event->spontaneous()) onHidden_();
}

bool QtWindow::PostRelease() {
  // Posted to the application, not to this widget: the release destroys the widget, which must
  // not happen while one of its own events is being delivered.
  QTimer::singleShot(0, QCoreApplication::instance(), [window = QPointer<QtWindow>(this)] {
    if (window) window->gate_.Arrive();
  });
  return true;
}

}  // namespace brontelx::platform::qt
