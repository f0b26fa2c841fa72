#pragma once

#include "WindowDescription.h"

namespace brontelx {

// The settings window: the location of the delivery-note database beside a Chiudi button.
platform::WindowDescription VelDatiValidazPersDescription();

}  // namespace brontelx
