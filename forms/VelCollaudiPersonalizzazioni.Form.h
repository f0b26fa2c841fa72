#pragma once

#include <cstdint>

#include "forms/Form.Base.h"

namespace brontelx {

// The test window: runs the delivery-note validation by hand for a user code and an acquired
// datum and shows its result text.
class TVelCollaudiPersonalizzazioniForm : public TFormBase {
 public:
  static platform::WindowDescription Description();

  explicit TVelCollaudiPersonalizzazioniForm(TSessione* ASessione);
  TVelCollaudiPersonalizzazioniForm(std::int32_t AUtente, std::int32_t AIDFinestra);

 protected:
  void Initialize() override;

 private:
  // The click handlers of `Form`, made before it is built (static: they only keep the pointer).
  static ClickHandlers Handlers(TVelCollaudiPersonalizzazioniForm* Form);
  // Runs VelZidBol on the session's archive and shows its result; an error outside the
  // validation's own checks leaves the previous result in place.
  void ButtonTestVelZidBolClick();
  void ButtonChiudiClick();
};

}  // namespace brontelx
