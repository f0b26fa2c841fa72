#pragma once

#include <vector>

#include "platform/WindowDescription.h"

namespace brontelx::platform {

// Where a control lies once its parent's client area has changed from `designParent` to `parent`,
// given its rectangle `design` at design size. Computed from the design values every time, so
// repeated resizes never drift.
Rect AnchoredRect(const Rect& design, Size designParent, Size parent, const Anchors& anchors);

// The tab stops of a window in the order the tab key visits them: the window's own controls by
// tab order, a group box's controls in its place, by their tab order within the box. Controls
// without a tab order are left out; equal orders keep the description's order.
std::vector<const ControlDescription*> TabChain(const WindowDescription& description);

}  // namespace brontelx::platform
