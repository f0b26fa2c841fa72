#pragma once

#include <string>
#include <string_view>

#include "base/SystemMessage.h"

namespace brontelx::platform::win32 {

// Texts are UTF-8 everywhere outside the backend and UTF-16 in the Windows API. Malformed UTF-8
// becomes U+FFFD, as the system converts it.
std::wstring ToWide(std::string_view text);
std::string ToUtf8(std::wstring_view text);

// The system's message for an error code of GetLastError, in UTF-8, without its line break.
using os::SystemMessage;

}  // namespace brontelx::platform::win32
