#pragma once

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QWidget>

#include <string>
#include <vector>

#include "forms/Form.Base.h"

namespace brontelx::testing {

inline QWidget* WidgetOf(const TFormBase& form) {
  return QWidget::find(static_cast<WId>(form.Window().NativeHandle()));
}

inline void Click(const TFormBase& form, const char* button) {
  QPushButton* widget = WidgetOf(form)->findChild<QPushButton*>(button);
  ASSERT_NE(widget, nullptr) << button;
  widget->click();
}

// One row of a window's control table.
struct ExpectedControl {
  const char* name;
  const char* className;
  const char* parent;  // "" for the window
  QRect rect;          // for labels, which size themselves to their text, only the position counts
  const char* caption;
};

inline QString CaptionOf(const QWidget* widget) {
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
  return widget->property("title").isValid() ? widget->property("title").toString()
                                             : widget->property("text").toString();
}

inline void ExpectControls(QWidget* window, const std::vector<ExpectedControl>& table) {
  for (const ExpectedControl& expected : table) {
    SCOPED_TRACE(expected.name);
    auto* widget = window->findChild<QWidget*>(expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), expected.className);
    EXPECT_EQ(widget->parentWidget() == window ? QString() : widget->parentWidget()->objectName(),
              QString(expected.parent));
    EXPECT_EQ(CaptionOf(widget), QString(expected.caption));
    EXPECT_TRUE(widget->isEnabled());
    if (const auto* label = qobject_cast<QLabel*>(widget)) {
      EXPECT_EQ(widget->pos(), expected.rect.topLeft());
      EXPECT_GE(widget->width(), QFontMetrics(label->font()).horizontalAdvance(label->text()));
    } else {
      EXPECT_EQ(widget->geometry(), expected.rect);
    }
  }
}

// The controls the tab key visits, in order, from the window's first one.
inline std::vector<std::string> TabChain(QWidget* window) {
  std::vector<std::string> names;
  for (QWidget* widget = window->nextInFocusChain(); widget != window; widget = widget->nextInFocusChain()) {
    if (widget->focusPolicy() & Qt::TabFocus) names.push_back(widget->objectName().toStdString());
  }
  return names;
}

}  // namespace brontelx::testing
