#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <string>
#include <string_view>

#include "platform/WindowDescription.h"

namespace brontelx::platform::qt {

// Texts are UTF-8 everywhere outside the backend.
QString ToQString(std::string_view text);
std::string FromQString(const QString& text);

// A description's colour and font in Qt terms; system colours come from the application's palette.
QColor ToQColor(const Color& color);
QFont ToQFont(const Font& font);

}  // namespace brontelx::platform::qt
