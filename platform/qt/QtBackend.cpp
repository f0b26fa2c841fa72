// The functions of the windowing layer that the Qt backend defines.
#include <QApplication>
#include <QThread>

#include "BundledFonts.h"
#include "QtWindow.h"
#include "WaitCursor.h"

namespace brontelx::platform {

std::unique_ptr<Window> BuildWindow(const WindowDescription& description, WindowEvents& events) {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
    throw WindowError("No QApplication exists: the host program must create its QApplication before it opens a window");
  }
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    throw WindowError("Windows can only be opened on the thread that runs the QApplication");
  }
  qt::LoadBundledFonts();
  return std::make_unique<qt::QtWindow>(description, events);
}

WaitCursor::WaitCursor() : shown_(qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
  if (shown_) QApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
  if (shown_ && QCoreApplication::instance()) QApplication::restoreOverrideCursor();
}

}  // namespace brontelx::platform
