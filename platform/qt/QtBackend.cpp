#include "platform/qt/QtBackend.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "platform/qt/BundledFonts.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtWindow.h"

namespace brontelx::platform::qt {
namespace {

bool HasApplication() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace

std::unique_ptr<Window> QtBackend::BuildWindow(const WindowDescription& description, WindowEvents& events) {
  if (!HasApplication()) {
    throw WindowError("No QApplication exists: the host program must create its QApplication before it opens a window");
  }
  if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
    throw WindowError("Windows can only be opened on the thread that runs the QApplication");
  }
  LoadBundledFonts();
  return std::make_unique<QtWindow>(description, events, *this);
}

void QtBackend::ShowError(const std::string& message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), ToQString(message));
}

void QtBackend::BeginWait() {
  if (HasApplication()) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtBackend::EndWait() noexcept {
  if (HasApplication()) QApplication::restoreOverrideCursor();
}

}  // namespace brontelx::platform::qt
