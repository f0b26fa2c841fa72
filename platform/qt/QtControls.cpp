#include "platform/qt/QtControls.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVariant>

#include "platform/qt/QtText.h"

namespace brontelx::platform::qt {
namespace {

QWidget* NewWidget(ControlKind kind, QWidget* parent) {
  switch (kind) {
    case ControlKind::Button:
      return new QPushButton(parent);
    case ControlKind::Edit:
      return new QLineEdit(parent);
    case ControlKind::GroupBox:
      return new QGroupBox(parent);
    case ControlKind::Label:
      return new QLabel(parent);
  }
  return new QLabel(parent);
}

void ApplyColor(QWidget* widget, const Font& font) {
  QPalette palette = widget->palette();
  const QColor color = ToQColor(font.color);
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
    palette.setColor(role, color);
  }
  widget->setPalette(palette);
}

}  // namespace

void ApplyFont(QWidget* widget, const Font& font) {
  const QFont qfont = ToQFont(font);
  widget->setFont(qfont);
  // A style sheet the host has set on the whole application would override the font (and clip the
  // captions): a widget's own style sheet takes precedence over the application's and cascades
  // to the controls without a font of their own. Without a host's sheet none is set: a widget
  // with a sheet is polished and drawn through Qt's style-sheet style, which makes opening a window
  // measurably slower. (A host that sets its sheet while a window is open restyles that window.)
  if (!qApp->styleSheet().isEmpty()) {
    widget->setStyleSheet(QStringLiteral("font-family: \"%1\"; font-size: %2px; font-weight: %3;")
                              .arg(qfont.family())
                              .arg(font.pixelHeight)
                              .arg(font.bold ? QStringLiteral("bold") : QStringLiteral("normal")));
  }
  ApplyColor(widget, font);
}

QWidget* BuildControl(const ControlDescription& control, QWidget* parent,
                      const std::function<void(const std::string& handler)>& onClick) {
  QWidget* widget = NewWidget(control.kind, parent);
  widget->setObjectName(ToQString(control.name));
  if (control.font) ApplyFont(widget, *control.font);
  if (control.background) {
    QPalette palette = widget->palette();
    palette.setColor(control.kind == ControlKind::Edit ? QPalette::Base : QPalette::Window,
                     ToQColor(*control.background));
    widget->setPalette(palette);
    widget->setAutoFillBackground(control.kind != ControlKind::Edit);
  }
  // Hints are kept for whoever asks; the windows do not pop them up.
  widget->setProperty("hint", ToQString(control.hint));
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->setReadOnly(control.readOnly);
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setTextFormat(Qt::PlainText);
  if (!control.tabOrder) widget->setFocusPolicy(Qt::NoFocus);
  SetControlText(widget, ToQString(control.caption));
  widget->setGeometry(control.rect.left, control.rect.top, control.rect.width, control.rect.height);
  if (control.autoSize) widget->resize(widget->sizeHint());
  if (auto* button = qobject_cast<QPushButton*>(widget); button && !control.onClick.empty()) {
    QObject::connect(button, &QPushButton::clicked, button, [onClick, handler = control.onClick] { onClick(handler); });
  }
  return widget;
}

QString ControlText(const QWidget* control) {
  if (const auto* edit = qobject_cast<const QLineEdit*>(control)) return edit->text();
  if (const auto* button = qobject_cast<const QPushButton*>(control)) return button->text();
  if (const auto* box = qobject_cast<const QGroupBox*>(control)) return box->title();
  if (const auto* label = qobject_cast<const QLabel*>(control)) return label->text();
  return {};
}

void SetControlText(QWidget* control, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    edit->setText(text);
  } else if (auto* button = qobject_cast<QPushButton*>(control)) {
    button->setText(text);
  } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
    box->setTitle(text);
  } else if (auto* label = qobject_cast<QLabel*>(control)) {
    label->setText(text);
  }
}

}  // namespace brontelx::platform::qt
