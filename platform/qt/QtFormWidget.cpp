#include "platform/qt/QtFormWidget.h"

#include <QCloseEvent>
#include <QHideEvent>

namespace brontelx::platform::qt {

QtFormWidget::~QtFormWidget() {
  if (listener_) listener_->Destroying();
}

void QtFormWidget::closeEvent(QCloseEvent* event) {
  if (!listener_ || listener_->Closing()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void QtFormWidget::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (listener_) listener_->Hidden(event->spontaneous());
}

}  // namespace brontelx::platform::qt
