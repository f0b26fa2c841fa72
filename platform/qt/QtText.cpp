#include "platform/qt/QtText.h"

#include <QApplication>
#include <QPalette>

namespace brontelx::platform::qt {
namespace {

QPalette::ColorRole RoleOf(SystemColor color) {
  switch (color) {
    case SystemColor::ButtonFace:
      return QPalette::Button;
    case SystemColor::WindowText:
      return QPalette::WindowText;
    case SystemColor::Window:
      return QPalette::Base;
    case SystemColor::InfoBackground:
      return QPalette::ToolTipBase;
  }
  return QPalette::Window;
}

}  // namespace

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

QColor ToQColor(const Color& color) {
  if (const auto* system = std::get_if<SystemColor>(&color)) return QApplication::palette().color(RoleOf(*system));
  const Rgb& rgb = std::get<Rgb>(color);
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QFont ToQFont(const Font& font) {
  // A family the system lacks resolves to fontconfig's substitute for it.
  QFont result(ToQString(font.family));
  result.setPixelSize(font.pixelHeight);
  result.setBold(font.bold);
  return result;
}

}  // namespace brontelx::platform::qt
