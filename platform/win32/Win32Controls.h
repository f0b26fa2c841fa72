#pragma once

#include <windows.h>

#include <string>

#include "platform/WindowDescription.h"

namespace brontelx::platform::win32 {

// Creates the native control of `control` as child `id` of `parent`: a push button (BUTTON), an
// edit (EDIT, read-only where described), a group box (BUTTON with BS_GROUPBOX) or a label
// (STATIC, one line, no mnemonics), visible, at its rectangle, with its caption and `font`. A label
// that sizes itself to its text takes the text's extent in that font at its place. Tab stops get
// WS_TABSTOP. The control's name is set (ControlName.h). Throws WindowError on failure.
HWND CreateControl(const ControlDescription& control, HWND parent, int id, HFONT font);

// A control's text: an edit's contents, the caption of the other kinds.
std::string ControlText(HWND control);
void SetControlText(HWND control, const std::string& text);

}  // namespace brontelx::platform::win32
