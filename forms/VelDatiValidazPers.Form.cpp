#include "VelDatiValidazPers.Form.h"

#include "VelDatiValidazPers.Description.h"

namespace brontelx {

namespace {

constexpr char kNomeValore[] = "VelZidBolDBRux";

}  // namespace

platform::WindowDescription TVelDatiValidazPersForm::Description() { return VelDatiValidazPersDescription(); }

TVelDatiValidazPersForm::TVelDatiValidazPersForm(TSessione* ASessione) : TFormBase(Description(), ASessione) {
  RegisterHandlers();
}

TVelDatiValidazPersForm::TVelDatiValidazPersForm(std::int32_t AUtente, std::int32_t AIDFinestra)
    : TFormBase(Description(), AUtente, AIDFinestra) {
  RegisterHandlers();
}

void TVelDatiValidazPersForm::RegisterHandlers() {
  SetClickHandler("ButtonChiudiClick", [this] { ButtonChiudiClick(); });
}

void TVelDatiValidazPersForm::Initialize() {
  FTitolo = "VelDatiValidazPers";
  FSituazione = 1;
  TFormBase::Initialize();
  Window().SetText("EditVelZidBolDBRux", Sessione().DRKTabX().GetParametroTesto(kNomeValore, 0));
}

void TVelDatiValidazPersForm::ButtonChiudiClick() {
  Sessione().DRKTabX().SetParametroTesto(kNomeValore, Window().Text("EditVelZidBolDBRux"), 0);
  Window().Close();
}

}  // namespace brontelx
