#pragma once

#include "WindowDescription.h"

namespace brontelx {

// The test window: user code, acquired datum, the button that runs the validation and its result,
// all in one group box that grows with the window.
platform::WindowDescription VelCollaudiPersonalizzazioniDescription();

}  // namespace brontelx
