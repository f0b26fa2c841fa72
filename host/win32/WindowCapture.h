#pragma once

#include <windows.h>

#include <string>

namespace brontelx::winhost {

// Copies `window`, frame and controls included, from its own window device context once it has
// been painted whole, and saves it as a PNG through the Windows Imaging Component. The window must
// be visible. (PrintWindow would not need that, but Wine's draws neither the frame nor the child
// controls.) Throws std::runtime_error on failure.
void SaveWindowPng(HWND window, const std::wstring& file);

}  // namespace brontelx::winhost
