#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace brontelx::testing {

// How a Windows program a test ran ended, and what it wrote, with Windows's line ends taken off.
struct ProgramRun {
  DWORD exitCode = 0;
  std::string output;
  std::string errors;
};

// Runs `program` with `arguments` from the program's own folder, in this process's environment, and
// waits at most `timeoutMilliseconds` for it (then kills it and throws std::runtime_error, as when it
// cannot start). Its standard output and error go to the files `logBase`.out and `logBase`.err,
// never to pipes: under Wine the background programs a program starts inherit them and keep them
// open.
ProgramRun RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
                      const std::wstring& logBase, DWORD timeoutMilliseconds);

// How a run ended and everything it wrote, for a failure's message.
std::string Describe(const ProgramRun& run);

// The lines of a program's output; those equal to `line`; those that begin with `prefix`.
std::vector<std::string> Lines(const std::string& text);
int CountLines(const std::string& text, const std::string& line);
std::vector<std::string> LinesStarting(const std::string& text, const std::string& prefix);

}  // namespace brontelx::testing
