#include "forms/VelDatiValidazPers.Form.h"

#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "validations/VelValidazPers.h"

namespace brontelx {

platform::WindowDescription TVelDatiValidazPersForm::Description() { return VelDatiValidazPersDescription(); }

TVelDatiValidazPersForm::TVelDatiValidazPersForm(TSessione* ASessione)
    : TFormBase(Description(), Handlers(this), ASessione) {}

TVelDatiValidazPersForm::TVelDatiValidazPersForm(std::int32_t AUtente, std::int32_t AIDFinestra)
    : TFormBase(Description(), Handlers(this), AUtente, AIDFinestra) {}

TFormBase::ClickHandlers TVelDatiValidazPersForm::Handlers(TVelDatiValidazPersForm* Form) {
  return {{veldati::kButtonChiudiClick, [Form] { Form->ButtonChiudiClick(); }}};
}

void TVelDatiValidazPersForm::Initialize() {
  FTitolo = "VelDatiValidazPers";
  FSituazione = 1;
  TFormBase::Initialize();
  Window().SetText(veldati::kEditVelZidBolDBRux, Sessione().DRKTabX().GetParametroTesto(kVelZidBolDBRux, 0));
}

void TVelDatiValidazPersForm::ButtonChiudiClick() {
  Sessione().DRKTabX().SetParametroTesto(kVelZidBolDBRux, Window().Text(veldati::kEditVelZidBolDBRux), 0);
  Window().Close();
}

}  // namespace brontelx
