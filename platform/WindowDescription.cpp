#include "platform/WindowDescription.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/WindowError.h"

namespace brontelx::platform {

const ControlDescription& WindowDescription::Control(std::string_view name) const {
  const auto found = std::find_if(controls.begin(), controls.end(),
                                  [&](const ControlDescription& control) { return control.name == name; });
  if (found == controls.end()) throw WindowError("No control named \"" + std::string(name) + "\"");
  return *found;
}

ControlDescription& WindowDescription::Control(std::string_view name) {
  return const_cast<ControlDescription&>(std::as_const(*this).Control(name));
}

void WindowDescription::CheckStructure() const {
  std::set<std::string_view> described;
  std::set<std::string_view> groupBoxes;
  for (const ControlDescription& control : controls) {
    if (!control.parent.empty() && !groupBoxes.contains(control.parent)) {
      throw WindowError("The parent \"" + control.parent + "\" of control \"" + control.name +
                        "\" is no group box described before it");
    }
    if (!described.insert(control.name).second) throw WindowError("Two controls named \"" + control.name + "\"");
    if (control.kind == ControlKind::GroupBox) groupBoxes.insert(control.name);
  }
}

}  // namespace brontelx::platform
