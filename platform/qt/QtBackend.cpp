// BuildWindow, as the Qt backend defines it.
#include <QApplication>
#include <QThread>

#include "BundledFonts.h"
#include "QtWindow.h"

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

}  // namespace brontelx::platform
