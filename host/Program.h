#pragma once

#include <string>
#include <vector>

namespace brontelx::cli {

// Runs brontelx on its command line (arguments[0] is the program, all of it UTF-8) and returns the
// exit status: each system's entry point (main_posix.cpp, main_win32.cpp) brings the arguments into
// this form first.
int RunProgram(const std::vector<std::string>& arguments);

}  // namespace brontelx::cli
