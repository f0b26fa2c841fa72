#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brontelx::winhost {

// What the host does to the window's controls, in the order given on the command line, as a user
// would: type a text into an edit, click a button, read a control's text.
struct ControlAction {
  enum class Kind { Set, Click, Read };
  Kind kind;
  std::string control;  // the control's name (UTF-8)
  std::string text;     // Set: the text typed (UTF-8)
};

// Runs the actions on the controls of `window`. A click runs the button's handler before it
// returns; a read prints "NAME: text" on standard output. Throws std::runtime_error for a control
// the window lacks.
void RunControlActions(HWND window, const std::vector<ControlAction>& actions);

}  // namespace brontelx::winhost
