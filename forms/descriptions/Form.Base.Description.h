#pragma once

#include "platform/WindowDescription.h"

namespace brontelx {

// The look every window of the library starts from: caption, client size, font and background.
platform::WindowDescription BaseWindowDescription();

}  // namespace brontelx
