#pragma once

#include <functional>
#include <string>

namespace brontelx::platform {

// The standard error message box: where the message of an error that escapes an event handler is
// shown. The backend's own box serves unless another one is installed (tests install a recorder).
using ErrorBox = std::function<void(const std::string& message)>;

// Installs `box` in place of the backend's box (an empty function restores the backend's) and
// returns the box installed before.
ErrorBox SetErrorBox(ErrorBox box);

// Runs an event handler. An exception that escapes it is shown in the installed error box, or in
// `standardBox` when none is installed, and goes no further. Returns false when the handler failed.
bool RunGuarded(const std::function<void()>& handler, void (*standardBox)(const std::string& message)) noexcept;

}  // namespace brontelx::platform
