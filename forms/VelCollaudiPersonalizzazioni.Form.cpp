#include "forms/VelCollaudiPersonalizzazioni.Form.h"

#include <string>

#include "forms/IntegerOrZero.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "platform/WaitCursor.h"
#include "validations/VelValidazPers.h"

namespace brontelx {

platform::WindowDescription TVelCollaudiPersonalizzazioniForm::Description() {
  return VelCollaudiPersonalizzazioniDescription();
}

TVelCollaudiPersonalizzazioniForm::TVelCollaudiPersonalizzazioniForm(TSessione* ASessione)
    : TFormBase(Description(), Handlers(this), ASessione) {}

TVelCollaudiPersonalizzazioniForm::TVelCollaudiPersonalizzazioniForm(std::int32_t AUtente, std::int32_t AIDFinestra)
    : TFormBase(Description(), Handlers(this), AUtente, AIDFinestra) {}

TFormBase::ClickHandlers TVelCollaudiPersonalizzazioniForm::Handlers(TVelCollaudiPersonalizzazioniForm* Form) {
  return {{velcollaudi::kButtonTestVelZidBolClick, [Form] { Form->ButtonTestVelZidBolClick(); }},
          {velcollaudi::kButtonChiudiClick, [Form] { Form->ButtonChiudiClick(); }}};
}

void TVelCollaudiPersonalizzazioniForm::Initialize() {
  FTitolo = "Collaudo Personalizzazioni";
  FSituazione = 2;
  TFormBase::Initialize();
  Window().SetText(velcollaudi::kEditUserAutenticaz, std::to_string(Sessione().DRKUser().CodiceUtente()));
}

void TVelCollaudiPersonalizzazioniForm::ButtonTestVelZidBolClick() {
  const std::int32_t utente = IntegerOrZero(Window().Text(velcollaudi::kEditUserAutenticaz));
  const std::string dato = Window().Text(velcollaudi::kEditDatoAcquisito);
  std::string risultato;
  {
    // The window does not answer until the databases have.
    platform::WaitCursor wait(Toolkit());
    risultato = EseguiValidazPers(Sessione().IBDatabase(), "VelZidBol", utente, dato);
  }
  Window().SetText(velcollaudi::kEditRisultato, risultato);
}

void TVelCollaudiPersonalizzazioniForm::ButtonChiudiClick() { Window().Close(); }

}  // namespace brontelx
