// brontelx.exe: the command-line tool on Windows. The arguments arrive in UTF-16 (wmain) and go on
// as UTF-8, so a name outside the ANSI code page arrives whole; a console shows the output, which
// is UTF-8, as UTF-8.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/TextCodec.h"
#include "host/Program.h"

namespace {

std::string Utf8(std::wstring_view wide) {
  return brontelx::text::Utf16LeToUtf8(
      std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t)));
}

// The console's settings that the tool changes while it runs: the output code page (UTF-8) and, on
// standard error, the escape sequences the progress line rewrites itself with. The console outlives
// the tool, so they are put back at the end, and on Ctrl-C or Ctrl-Break, which end the process.
struct ConsoleState {
  UINT codePage = 0;  // 0: no console
  HANDLE error = nullptr;  // null: standard error is no console
  DWORD errorMode = 0;
};

ConsoleState saved;

void RestoreConsole() {
  if (saved.codePage != 0) SetConsoleOutputCP(saved.codePage);
  if (saved.error) SetConsoleMode(saved.error, saved.errorMode);
}

BOOL WINAPI OnConsoleControl(DWORD) {
  RestoreConsole();
  return FALSE;  // the default handling ends the process
}

void PrepareConsole() {
  saved.codePage = GetConsoleOutputCP();
  if (saved.codePage == 0) return;
  SetConsoleOutputCP(CP_UTF8);
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (GetConsoleMode(error, &saved.errorMode) &&
      SetConsoleMode(error, saved.errorMode | ENABLE_PROCESSED_OUTPUT | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
    saved.error = error;
  }
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  arguments.reserve(argc);
  for (int i = 0; i < argc; ++i) arguments.push_back(Utf8(argv[i]));
  PrepareConsole();
  const int status = brontelx::cli::RunProgram(arguments);
  RestoreConsole();
  return status;
}
