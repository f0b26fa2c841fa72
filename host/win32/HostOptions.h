#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/win32/ControlActions.h"

namespace brontelx::winhost {

// What the command line asks for:
//   brontelx-winhost LIBRARY EXPORT [--user N] [--window-log N] [--error EXPORT]
//                    [--set NAME=TEXT] [--click NAME] [--read NAME]
//                    [--screenshot FILE.png] [--controls FILE] [--close]
// EXPORT is an export's name, or #N for the export with ordinal N. --set, --click and --read act
// on the window's controls in the order given, before the control list and the screenshot.
struct HostOptions {
  std::wstring library;
  std::string entry;
  std::int32_t user = 1;
  std::int32_t windowLog = 0;
  std::string errorEntry;        // called for the message when the entry returns -1
  std::vector<ControlAction> actions;
  std::wstring screenshot;       // a PNG of the window the call opened
  std::wstring controls;         // the window's controls, one per line
  bool close = false;            // close the window and wait until it is gone, instead of the user
};

// How the program is called.
extern const char* const kUsage;

// Reads the arguments after the program's name; throws cli::UsageError.
HostOptions ParseOptions(const std::vector<std::wstring>& arguments);

}  // namespace brontelx::winhost
