#pragma once

#include <windows.h>

#include <string>

namespace brontelx::winhost {

// Draws `window`, frame and controls included, into a bitmap with PrintWindow (so the window need
// not be on screen or uncovered) and saves it as a PNG through the Windows Imaging Component.
// Throws std::runtime_error on failure.
void SaveWindowPng(HWND window, const std::wstring& file);

}  // namespace brontelx::winhost
