#include "FormWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include "AnchorKeeper.h"
#include "ErrorBox.h"
#include "Layout.h"
#include "QtErrorBox.h"
#include "QtControls.h"
#include "QtText.h"

namespace brontelx::platform::qt {

FormWidget::FormWidget(const WindowDescription& description, WindowEvents& events) : events_(events) {
  setWindowTitle(ToQString(description.caption));
  resize(description.clientWidth, description.clientHeight);
  ApplyFont(this, description.font);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, ToQColor(description.background));
  setPalette(palette);
  setAutoFillBackground(true);
  BuildControls(description);
}

void FormWidget::BuildControls(const WindowDescription& description) {
  QHash<QWidget*, AnchorKeeper*> keepers{{this, new AnchorKeeper(this)}};
  const auto onClick = [this](const std::string& handler) { RunHandler([&] { events_.OnClick(handler); }); };
  for (const ControlDescription& control : description.controls) {
    QWidget* parent = this;
    if (!control.parent.empty()) {
      parent = controls_.value(ToQString(control.parent));
      if (!parent || !keepers.contains(parent)) {
        throw WindowError("The parent \"" + control.parent + "\" of control \"" + control.name +
                          "\" is no group box described before it");
      }
    }
    if (controls_.contains(ToQString(control.name))) throw WindowError("Two controls named \"" + control.name + "\"");
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

void FormWidget::closeEvent(QCloseEvent* event) {
  CloseAction action = CloseAction::Hide;
  if (!RunHandler([&] { events_.OnClose(action); })) {
    event->ignore();
    return;
  }
  event->accept();
  if (action == CloseAction::Free) PostRelease();
}

void FormWidget::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  // A window minimised by the user is hidden by the window system but still open.
  if (onHidden_ && !event->spontaneous()) onHidden_();
}

bool FormWidget::RunHandler(const std::function<void()>& handler) {
  ++handlerDepth_;
  const bool done = RunGuarded(handler, StandardErrorBox);
  --handlerDepth_;
  if (releasePending_ && !Busy()) {
    releasePending_ = false;
    PostRelease();
  }
  return done;
}

void FormWidget::PostRelease() {
  // Posted to the application, not to this widget: the release destroys the widget, which must
  // not happen while one of its own events is being delivered.
  QTimer::singleShot(0, QCoreApplication::instance(), [widget = QPointer<FormWidget>(this)] {
    if (widget) widget->Release();
  });
}

void FormWidget::Release() {
  if (Busy()) {
    // A handler (say, one showing a box) or RunModal still runs on this widget; the window is
    // released once they have returned.
    releasePending_ = true;
    return;
  }
  RunGuarded([this] { events_.OnRelease(); }, StandardErrorBox);
}

void FormWidget::RunModal() {
  // Modality takes effect when a window is shown: one shown modeless is shown again.
  if (isVisible()) hide();
  QEventLoop loop;
  onHidden_ = [&loop] { loop.quit(); };
  ++modalDepth_;
  setWindowModality(Qt::ApplicationModal);
  show();
  if (QGuiApplication::platformName() != "offscreen") raise();
  activateWindow();
  if (isVisible()) loop.exec();
  --modalDepth_;
  onHidden_ = nullptr;
  setWindowModality(Qt::NonModal);
  if (releasePending_ && !Busy()) {
    releasePending_ = false;
    PostRelease();
  }
}

}  // namespace brontelx::platform::qt
