#include <gtest/gtest.h>

#include "platform/Layout.h"

namespace brontelx::platform {
namespace {

TEST(LayoutTest, AnchorsKeepDistancesToTheirEdges) {
  const Size design{484, 294};
  const Size grown{684, 394};
  const Rect box{8, 8, 484, 294};
  // Anchored on every side: grows with the parent, keeps its place.
  EXPECT_EQ(AnchoredRect(box, {500, 310}, {700, 410}, {true, true, true, true}), (Rect{8, 8, 684, 394}));
  // Top and right: moves with the right edge, keeps its size and its top.
  EXPECT_EQ(AnchoredRect({401, 16, 75, 25}, design, grown, {false, true, true, false}), (Rect{601, 16, 75, 25}));
  // Left and top: stays where it is.
  EXPECT_EQ(AnchoredRect({16, 82, 121, 24}, design, grown, {}), (Rect{16, 82, 121, 24}));
  // Bottom only: follows the bottom edge.
  EXPECT_EQ(AnchoredRect({16, 260, 50, 20}, design, grown, {true, false, false, true}), (Rect{16, 360, 50, 20}));
  // Neither edge of an axis: the centre keeps its relative place.
  EXPECT_EQ(AnchoredRect({40, 10, 20, 10}, {100, 100}, {200, 100}, {false, true, false, false}), (Rect{90, 10, 20, 10}));
  // Shrunk below its size, a stretched control has no size left, never a negative one.
  EXPECT_EQ(AnchoredRect(box, {500, 310}, {100, 100}, {true, true, true, true}), (Rect{8, 8, 84, 84}));
  EXPECT_EQ(AnchoredRect(box, {500, 310}, {10, 10}, {true, true, true, true}), (Rect{8, 8, 0, 0}));
  // Computed from the design values: growing and shrinking back gives the design place again.
  EXPECT_EQ(AnchoredRect({401, 16, 75, 25}, design, design, {false, true, true, false}), (Rect{401, 16, 75, 25}));
}

ControlDescription Control(const std::string& name, ControlKind kind, const std::string& parent,
                           std::optional<int> tabOrder) {
  ControlDescription control;
  control.name = name;
  control.kind = kind;
  control.parent = parent;
  control.tabOrder = tabOrder;
  return control;
}

TEST(LayoutTest, TabChainVisitsGroupBoxesInTheirPlace) {
  WindowDescription description;
  description.controls = {
      Control("Chiudi", ControlKind::Button, "", 2),
      Control("Box", ControlKind::GroupBox, "", 1),
      Control("Etichetta", ControlKind::Label, "Box", std::nullopt),
      Control("Secondo", ControlKind::Edit, "Box", 1),
      Control("Primo", ControlKind::Edit, "Box", 0),
      Control("Inizio", ControlKind::Button, "", 0),
      Control("Pari", ControlKind::Edit, "Box", 1),
  };
  std::vector<std::string> names;
  for (const ControlDescription* control : TabChain(description)) names.push_back(control->name);
  EXPECT_EQ(names, (std::vector<std::string>{"Inizio", "Primo", "Secondo", "Pari", "Chiudi"}));
}

}  // namespace
}  // namespace brontelx::platform
