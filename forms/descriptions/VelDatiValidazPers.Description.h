#pragma once

#include "platform/WindowDescription.h"

namespace brontelx {

// The names of the settings window's controls and click handler: the description gives them, and
// everything else addresses the controls and binds the handler by these constants.
namespace veldati {

inline constexpr char kButtonChiudi[] = "ButtonChiudi";
inline constexpr char kGroupBox1[] = "GroupBox1";
inline constexpr char kButtonVelZidBolDBRux[] = "ButtonVelZidBolDBRux";
inline constexpr char kEditVelZidBolDBRux[] = "EditVelZidBolDBRux";

inline constexpr char kButtonChiudiClick[] = "ButtonChiudiClick";

}  // namespace veldati

// The settings window: the location of the delivery-note database beside a Chiudi button.
platform::WindowDescription VelDatiValidazPersDescription();

}  // namespace brontelx
