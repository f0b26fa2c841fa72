// brontelx-winhost: loads a DLL, calls one export on its own UI thread, and runs that thread's
// message loop as the product's host does (without IsDialogMessage). It reports the window the call
// opened, can type into its edits, click its buttons and read their texts, save its screenshot and
// control list, and either waits for the user to close it or, with --close, closes it itself and
// waits until the window has destroyed itself.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/Arguments.h"
#include "host/win32/ControlActions.h"
#include "host/win32/ControlList.h"
#include "host/win32/ExportCall.h"
#include "host/win32/HostOptions.h"
#include "host/win32/MessagePump.h"
#include "host/win32/WindowCapture.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Controls.h"

namespace brontelx::winhost {
namespace {

using platform::win32::ToUtf8;

// How long a closed window may take to destroy itself before the host calls it a failure.
constexpr DWORD kCloseWaitMilliseconds = 10000;

HWND NewWindow(const std::vector<HWND>& before) {
  for (const HWND window : ThreadWindows()) {
    if (std::find(before.begin(), before.end(), window) == before.end()) return window;
  }
  return nullptr;
}


void WriteFile(const std::wstring& file, const std::string& contents) {
  std::ofstream out(std::filesystem::path(file), std::ios::binary);
  out << contents;
  if (!out.flush()) throw std::runtime_error("cannot write " + ToUtf8(file));
}

int Run(const HostOptions& options) {
  const HMODULE library = LoadHostLibrary(options.library);
  const FARPROC entry = FindExport(library, options.entry);
  const std::vector<HWND> before = ThreadWindows();
  const std::int32_t result = CallShowEntry(entry, options.user, options.windowLog);
  std::printf("%s returned %d\n", options.entry.c_str(), static_cast<int>(result));
  if (result != 0) {
    if (!options.errorEntry.empty()) {
      std::printf("error: %s\n", CallErrorEntry(FindExport(library, options.errorEntry)).c_str());
    }
    return 1;
  }
  PumpWaiting();
  const HWND window = NewWindow(before);
  if (!window) {
    std::printf("the call opened no window\n");
    return 1;
  }
  std::printf("window %llu: %s\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
              platform::win32::ControlText(window).c_str());
  RunControlActions(window, options.actions);
  if (!options.controls.empty()) WriteFile(options.controls, ListControls(window));
  if (!options.screenshot.empty()) SaveWindowPng(window, options.screenshot);
  std::fflush(stdout);
  if (!options.close) {
    PumpWhileWindowsShow();
    return 0;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (!PumpUntilDestroyed(window, kCloseWaitMilliseconds)) {
    std::printf("the window still exists after it was closed\n");
    return 1;
  }
  std::printf("window closed and destroyed\n");
  return 0;
}

}  // namespace
}  // namespace brontelx::winhost

int wmain(int argc, wchar_t** argv) {
  try {
    const std::vector<std::wstring> arguments(argv + 1, argv + argc);
    return brontelx::winhost::Run(brontelx::winhost::ParseOptions(arguments));
  } catch (const brontelx::cli::UsageError& e) {
    return brontelx::cli::ReportUsageError("brontelx-winhost", e.what(), brontelx::winhost::kUsage);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "brontelx-winhost: %s\n", e.what());
    return 2;
  }
}
