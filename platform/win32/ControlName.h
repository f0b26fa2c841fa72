#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace brontelx::platform::win32 {

// Every control of a window carries its name as the window property kControlNameProperty, whose
// value is a global atom of kControlNamePrefix followed by the name. Any code that holds the
// window, in the process or outside it (a host, a test), reads it with GetPropW and
// GlobalGetAtomNameW, and needs nothing of this library. (Atoms ignore letter case and keep the
// spelling they were first added with; the prefix keeps other programs' atoms from lending their
// spelling to a control's name.) The controls' IDs are a second, stable key: 100 plus the
// control's position in its window description.
inline constexpr wchar_t kControlNameProperty[] = L"BrontelX.ControlName";
inline constexpr wchar_t kControlNamePrefix[] = L"BrontelX.Control:";
inline constexpr int kFirstControlId = 100;

// Gives `control` its name; throws WindowError when the system refuses the atom or the property.
void SetControlName(HWND control, std::string_view name);
// Takes the name off again; a window must lose its properties before it is destroyed. The atoms of
// controls that still have their names when the process exits (windows left open, or removed by
// the system without a message) are deleted then.
void RemoveControlName(HWND control);
// The name of `control`; empty when it has none.
std::string ControlName(HWND control);

// The control named `name` among the descendants of `window`, or null.
HWND FindControl(HWND window, std::string_view name);

}  // namespace brontelx::platform::win32
