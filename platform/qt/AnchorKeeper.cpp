#include "platform/qt/AnchorKeeper.h"

#include <QEvent>
#include <QWidget>

#include "platform/Layout.h"

namespace brontelx::platform::qt {

AnchorKeeper::AnchorKeeper(QWidget* container)
    : QObject(container), container_(container), designSize_{container->width(), container->height()} {
  container->installEventFilter(this);
}

void AnchorKeeper::Add(QWidget* control, const Anchors& anchors) {
  const QRect geometry = control->geometry();
  controls_.push_back({control, {geometry.x(), geometry.y(), geometry.width(), geometry.height()}, anchors});
}

bool AnchorKeeper::eventFilter(QObject* watched, QEvent* event) {
  if (watched == container_ && event->type() == QEvent::Resize) Place();
  return false;
}

void AnchorKeeper::Place() {
  const Size size{container_->width(), container_->height()};
  for (const Anchored& anchored : controls_) {
    const Rect rect = AnchoredRect(anchored.design, designSize_, size, anchored.anchors);
    anchored.control->setGeometry(rect.left, rect.top, rect.width, rect.height);
  }
}

}  // namespace brontelx::platform::qt
