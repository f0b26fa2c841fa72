#include "forms/descriptions/Form.Base.Description.h"

namespace brontelx {

platform::WindowDescription BaseWindowDescription() {
  platform::WindowDescription description;
  description.caption = "FormBase";
  description.clientWidth = 624;
  description.clientHeight = 441;
  description.font = {"Segoe UI", 12, platform::SystemColor::WindowText, false};
  description.background = platform::SystemColor::ButtonFace;
  return description;
}

}  // namespace brontelx
