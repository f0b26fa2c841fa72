#pragma once

#include <cstdint>

#include "forms/Form.Base.h"

namespace brontelx {

// The settings window: where an administrator enters the location of the delivery-note database
// that VelZidBol consults, stored as the shared named value "VelZidBolDBRux" of the archive.
class TVelDatiValidazPersForm : public TFormBase {
 public:
  static platform::WindowDescription Description();

  explicit TVelDatiValidazPersForm(TSessione* ASessione);
  TVelDatiValidazPersForm(std::int32_t AUtente, std::int32_t AIDFinestra);

 protected:
  void Initialize() override;

 private:
  // The click handlers of `Form`, made before it is built (static: they only keep the pointer).
  static ClickHandlers Handlers(TVelDatiValidazPersForm* Form);
  // Stores the location exactly as typed, then closes the window.
  void ButtonChiudiClick();
};

}  // namespace brontelx
