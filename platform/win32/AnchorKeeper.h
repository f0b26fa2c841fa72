#pragma once

#include <windows.h>

#include <vector>

#include "platform/WindowDescription.h"

namespace brontelx::platform::win32 {

// Keeps the controls of one container (a window's client area or a group box) at their anchored
// places when the container is resized. The container's size and each control's rectangle when
// they are added are the design values that every later placement is computed from.
class AnchorKeeper {
 public:
  explicit AnchorKeeper(Size designSize) : designSize_(designSize) {}

  void Add(HWND control, const Rect& design, const Anchors& anchors);
  // Moves the controls for a container of `size`, all in one step.
  void Place(Size size) const;

 private:
  struct Anchored {
    HWND control;
    Rect design;
    Anchors anchors;
  };

  Size designSize_;
  std::vector<Anchored> controls_;
};

}  // namespace brontelx::platform::win32
