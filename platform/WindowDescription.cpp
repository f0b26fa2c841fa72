#include "WindowDescription.h"

#include <algorithm>
#include <utility>

#include "Window.h"

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

}  // namespace brontelx::platform
