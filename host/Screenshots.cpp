#include "host/Screenshots.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

namespace brontelx::host {

void WaitUntilShown(QWidget& window) {
  // A window system that never reports the window exposed still gets a screenshot after a while.
  QDeadlineTimer deadline(5000);
  while (!deadline.hasExpired() && !(window.windowHandle() && window.windowHandle()->isExposed())) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  QCoreApplication::processEvents();
}

QString SaveScreenshot(QWidget& window, const QString& folder, const QString& fallbackName) {
  if (!QDir().mkpath(folder)) throw std::runtime_error("cannot create the folder " + folder.toStdString());
  const QString name = window.objectName().isEmpty() ? fallbackName : window.objectName();
  const QString path = QDir(folder).absoluteFilePath(name + ".png");
  if (!window.grab().save(path, "PNG")) throw std::runtime_error("cannot write " + path.toStdString());
  return path;
}

}  // namespace brontelx::host
