#include "forms/descriptions/VelDatiValidazPers.Description.h"

#include "forms/descriptions/Form.Base.Description.h"

namespace brontelx {

using platform::Anchors;
using platform::ControlKind;
using namespace veldati;

platform::WindowDescription VelDatiValidazPersDescription() {
  platform::WindowDescription description = BaseWindowDescription();
  description.caption = "VelDatiValidazPersForm";
  description.font = {"Tahoma", 13, platform::SystemColor::WindowText, false};
  description.controls = {
      {.name = kButtonChiudi, .kind = ControlKind::Button, .rect = {541, 8, 75, 25},
       .anchors = Anchors{.left = false, .right = true}, .tabOrder = 0, .caption = "Chiudi",
       .onClick = kButtonChiudiClick},
      {.name = kGroupBox1, .kind = ControlKind::GroupBox, .rect = {0, 8, 535, 169},
       .anchors = Anchors{.right = true}, .tabOrder = 1, .caption = "Dati per VelZidBol"},
      {.name = kButtonVelZidBolDBRux, .kind = ControlKind::Button, .parent = kGroupBox1, .rect = {8, 32, 105, 25},
       .tabOrder = 0, .caption = "Database dati rux"},
      {.name = kEditVelZidBolDBRux, .kind = ControlKind::Edit, .parent = kGroupBox1, .rect = {119, 32, 290, 24},
       .tabOrder = 1, .hint = "IP:database"},
  };
  return description;
}

}  // namespace brontelx
