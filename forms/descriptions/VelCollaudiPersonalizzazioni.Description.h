#pragma once

#include "platform/WindowDescription.h"

namespace brontelx {

// The names of the test window's controls and click handlers: the description gives them, and
// everything else addresses the controls and binds the handlers by these constants.
namespace velcollaudi {

inline constexpr char kGroupBoxCollaudo[] = "GroupBoxCollaudo";
inline constexpr char kLabelFunzione[] = "LabelFunzione";
inline constexpr char kLabel1[] = "Label1";
inline constexpr char kEditUserAutenticaz[] = "EditUserAutenticaz";
inline constexpr char kLabel2[] = "Label2";
inline constexpr char kEditDatoAcquisito[] = "EditDatoAcquisito";
inline constexpr char kButtonTestVelZidBol[] = "ButtonTestVelZidBol";
inline constexpr char kLabel3[] = "Label3";
inline constexpr char kEditRisultato[] = "EditRisultato";
inline constexpr char kButtonChiudi[] = "ButtonChiudi";

inline constexpr char kButtonTestVelZidBolClick[] = "ButtonTestVelZidBolClick";
inline constexpr char kButtonChiudiClick[] = "ButtonChiudiClick";

}  // namespace velcollaudi

// The test window: user code, acquired datum, the button that runs the validation and its result,
// all in one group box that grows with the window.
platform::WindowDescription VelCollaudiPersonalizzazioniDescription();

}  // namespace brontelx
