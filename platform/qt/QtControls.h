#pragma once

#include <QString>

#include <functional>
#include <string>

#include "platform/WindowDescription.h"

class QWidget;

namespace brontelx::platform::qt {

// Builds the widget of one control inside `parent`: a QPushButton, QLineEdit, QGroupBox or QLabel
// whose objectName is the control's name, at its rectangle (a sized-to-text label at its place),
// with its caption, hint, read-only state, colours and font. A click on a button whose control
// names a click handler calls `onClick` with that handler's name.
QWidget* BuildControl(const ControlDescription& control, QWidget* parent,
                      const std::function<void(const std::string& handler)>& onClick);

// A control's text: an edit's contents, the caption of the other kinds.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);

// Gives `widget` the font and text colour, for the widget and the controls it contains.
void ApplyFont(QWidget* widget, const Font& font);

}  // namespace brontelx::platform::qt
