#include "VelCollaudiPersonalizzazioni.Form.h"

#include <string>

#include "IntegerOrZero.h"
#include "VelCollaudiPersonalizzazioni.Description.h"
#include "VelValidazPers.h"
#include "WaitCursor.h"

namespace brontelx {

platform::WindowDescription TVelCollaudiPersonalizzazioniForm::Description() {
  return VelCollaudiPersonalizzazioniDescription();
}

TVelCollaudiPersonalizzazioniForm::TVelCollaudiPersonalizzazioniForm(TSessione* ASessione)
    : TFormBase(Description(), ASessione) {
  RegisterHandlers();
}

TVelCollaudiPersonalizzazioniForm::TVelCollaudiPersonalizzazioniForm(std::int32_t AUtente, std::int32_t AIDFinestra)
    : TFormBase(Description(), AUtente, AIDFinestra) {
  RegisterHandlers();
}

void TVelCollaudiPersonalizzazioniForm::RegisterHandlers() {
  SetClickHandler("ButtonTestVelZidBolClick", [this] { ButtonTestVelZidBolClick(); });
  SetClickHandler("ButtonChiudiClick", [this] { ButtonChiudiClick(); });
}

void TVelCollaudiPersonalizzazioniForm::Initialize() {
  FTitolo = "Collaudo Personalizzazioni";
  FSituazione = 2;
  TFormBase::Initialize();
  Window().SetText("EditUserAutenticaz", std::to_string(Sessione().DRKUser().CodiceUtente()));
}

void TVelCollaudiPersonalizzazioniForm::ButtonTestVelZidBolClick() {
  const std::int32_t utente = IntegerOrZero(Window().Text("EditUserAutenticaz"));
  const std::string dato = Window().Text("EditDatoAcquisito");
  std::string risultato;
  {
    // The window does not answer until the databases have.
    platform::WaitCursor wait(Toolkit());
    risultato = EseguiValidazPers(Sessione().IBDatabase(), "VelZidBol", utente, dato);
  }
  Window().SetText("EditRisultato", risultato);
}

void TVelCollaudiPersonalizzazioniForm::ButtonChiudiClick() { Window().Close(); }

}  // namespace brontelx
