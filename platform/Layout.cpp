#include "platform/Layout.h"

#include <algorithm>
#include <cmath>

namespace brontelx::platform {
namespace {

// One axis: the control's start and extent along it.
struct Span {
  int start;
  int extent;
};

Span Anchor(Span design, int designParent, int parent, bool nearEdge, bool farEdge) {
  const int delta = parent - designParent;
  if (nearEdge && farEdge) return {design.start, std::max(0, design.extent + delta)};
  if (farEdge) return {design.start + delta, design.extent};
  if (nearEdge || designParent <= 0) return design;
  // Unanchored: the control's centre keeps its relative place in the parent.
  const double centre = (design.start + design.extent / 2.0) * parent / designParent;
  return {static_cast<int>(std::lround(centre - design.extent / 2.0)), design.extent};
}

void AppendStops(const WindowDescription& description, const std::string& parent,
                 std::vector<const ControlDescription*>& chain) {
  std::vector<const ControlDescription*> stops;
  for (const ControlDescription& control : description.controls) {
    if (control.parent == parent && control.tabOrder) stops.push_back(&control);
  }
  std::stable_sort(stops.begin(), stops.end(),
                   [](const ControlDescription* a, const ControlDescription* b) { return *a->tabOrder < *b->tabOrder; });
  for (const ControlDescription* control : stops) {
    if (control->kind == ControlKind::GroupBox) {
      AppendStops(description, control->name, chain);
    } else {
      chain.push_back(control);
    }
  }
}

}  // namespace

Rect AnchoredRect(const Rect& design, Size designParent, Size parent, const Anchors& anchors) {
  const Span x = Anchor({design.left, design.width}, designParent.width, parent.width, anchors.left, anchors.right);
  const Span y = Anchor({design.top, design.height}, designParent.height, parent.height, anchors.top, anchors.bottom);
  return {x.start, y.start, x.extent, y.extent};
}

std::vector<const ControlDescription*> TabChain(const WindowDescription& description) {
  std::vector<const ControlDescription*> chain;
  AppendStops(description, {}, chain);
  return chain;
}

}  // namespace brontelx::platform
