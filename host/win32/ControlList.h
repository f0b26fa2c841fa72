#pragma once

#include <windows.h>

#include <string>

namespace brontelx::winhost {

// The controls of `window`, one line each, tab-separated: window class, control name, rectangle
// relative to the parent's client area (left,top,width,height), the parent's name (empty for the
// window itself), flags (groupbox, readonly, tabstop, comma-separated) and the text. UTF-8.
std::string ListControls(HWND window);

}  // namespace brontelx::winhost
