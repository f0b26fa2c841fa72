#include "QtErrorBox.h"

#include <QApplication>
#include <QMessageBox>

#include "QtText.h"

namespace brontelx::platform::qt {

void StandardErrorBox(const std::string& message) {
  QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(), ToQString(message));
}

}  // namespace brontelx::platform::qt
