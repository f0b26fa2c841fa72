#include "platform/win32/AnchorKeeper.h"

#include "platform/Layout.h"

namespace brontelx::platform::win32 {

void AnchorKeeper::Add(HWND control, const Rect& design, const Anchors& anchors) {
  controls_.push_back({control, design, anchors});
}

void AnchorKeeper::Place(Size size) const {
  if (controls_.empty()) return;
  constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  HDWP positions = BeginDeferWindowPos(static_cast<int>(controls_.size()));
  for (const Anchored& anchored : controls_) {
    if (!positions) break;
    const Rect rect = AnchoredRect(anchored.design, designSize_, size, anchored.anchors);
    positions = DeferWindowPos(positions, anchored.control, nullptr, rect.left, rect.top, rect.width, rect.height, kFlags);
  }
  if (positions) {
    EndDeferWindowPos(positions);
    return;
  }
  // Without the memory for one combined move, each control moves on its own.
  for (const Anchored& anchored : controls_) {
    const Rect rect = AnchoredRect(anchored.design, designSize_, size, anchored.anchors);
    SetWindowPos(anchored.control, nullptr, rect.left, rect.top, rect.width, rect.height, kFlags);
  }
}

}  // namespace brontelx::platform::win32
