#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace brontelx::host {

// Saves a PNG of `window` as it is on screen into `folder` (created when missing), named after its
// object name or `fallbackName`, and returns the file's path. Throws std::runtime_error when the
// file cannot be written.
QString SaveScreenshot(QWidget& window, const QString& folder, const QString& fallbackName);

// Waits (running the event loop) until `window` is shown and laid out by the window system.
void WaitUntilShown(QWidget& window);

}  // namespace brontelx::host
