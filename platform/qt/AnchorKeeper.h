#pragma once

#include <QObject>
#include <QSize>

#include <vector>

#include "platform/WindowDescription.h"

class QWidget;

namespace brontelx::platform::qt {

// Keeps the controls of one container (a window or a group box) at their anchored places when
// the container is resized. The container's size and each control's geometry when they are added
// are the design values that every later placement is computed from.
class AnchorKeeper : public QObject {
 public:
  explicit AnchorKeeper(QWidget* container);

  void Add(QWidget* control, const Anchors& anchors);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Anchored {
    QWidget* control;
    Rect design;
    Anchors anchors;
  };

  void Place();

  QWidget* container_;
  Size designSize_;
  std::vector<Anchored> controls_;
};

}  // namespace brontelx::platform::qt
