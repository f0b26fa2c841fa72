#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"

#include "forms/descriptions/Form.Base.Description.h"

namespace brontelx {

using platform::Anchors;
using platform::ControlKind;
using namespace velcollaudi;

platform::WindowDescription VelCollaudiPersonalizzazioniDescription() {
  platform::WindowDescription description = BaseWindowDescription();
  description.caption = "VelCollaudiPersonalizzazioniForm";
  description.clientWidth = 500;
  description.clientHeight = 310;
  description.font = {"Tahoma", 13, platform::SystemColor::WindowText, false};
  const platform::Font bluBold{"Tahoma", 13, platform::Rgb{0, 0, 255}, true};
  constexpr auto& kBox = kGroupBoxCollaudo;
  description.controls = {
      {.name = kGroupBoxCollaudo, .kind = ControlKind::GroupBox, .rect = {8, 8, 484, 294},
       .anchors = Anchors{.right = true, .bottom = true}, .tabOrder = 0, .caption = "Test Validazioni Personalizzate"},
      {.name = kLabelFunzione, .kind = ControlKind::Label, .parent = kBox, .rect = {16, 30, 140, 16},
       .caption = "Funzione: VelZidBol", .autoSize = true, .font = bluBold},
      {.name = kLabel1, .kind = ControlKind::Label, .parent = kBox, .rect = {16, 64, 112, 16},
       .caption = "USER_AUTENTICAZ", .autoSize = true},
      {.name = kEditUserAutenticaz, .kind = ControlKind::Edit, .parent = kBox, .rect = {16, 82, 121, 24},
       .tabOrder = 0},
      {.name = kLabel2, .kind = ControlKind::Label, .parent = kBox, .rect = {16, 112, 81, 16},
       .caption = "Dato Acquisito", .autoSize = true},
      {.name = kEditDatoAcquisito, .kind = ControlKind::Edit, .parent = kBox, .rect = {16, 130, 300, 24},
       .tabOrder = 1},
      {.name = kButtonTestVelZidBol, .kind = ControlKind::Button, .parent = kBox, .rect = {16, 168, 150, 30},
       .tabOrder = 2, .caption = "Esegui VelZidBol", .onClick = kButtonTestVelZidBolClick},
      {.name = kLabel3, .kind = ControlKind::Label, .parent = kBox, .rect = {16, 208, 49, 16},
       .caption = "Risultato", .autoSize = true},
      {.name = kEditRisultato, .kind = ControlKind::Edit, .parent = kBox, .rect = {16, 226, 450, 24},
       .tabOrder = 3, .readOnly = true, .background = platform::SystemColor::InfoBackground},
      {.name = kButtonChiudi, .kind = ControlKind::Button, .parent = kBox, .rect = {401, 16, 75, 25},
       .anchors = Anchors{.left = false, .right = true}, .tabOrder = 4, .caption = "Chiudi",
       .onClick = kButtonChiudiClick},
  };
  return description;
}

}  // namespace brontelx
