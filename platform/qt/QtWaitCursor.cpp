// The wait cursor of the Qt backend: the application's override cursor.
#include <QApplication>

#include "WaitCursor.h"

namespace brontelx::platform {

WaitCursor::WaitCursor() : shown_(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
  if (shown_) QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
  if (shown_ && QCoreApplication::instance()) QApplication::restoreOverrideCursor();
}

}  // namespace brontelx::platform
