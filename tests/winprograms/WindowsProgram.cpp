#include "tests/winprograms/WindowsProgram.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/win32/WideText.h"

namespace brontelx::testing {
namespace {

using platform::win32::ToUtf8;

// One argument as the C runtime's command-line parser reads it back: quoted when it holds a blank,
// a tab or a quote; a quote and the backslashes before it (and those before the closing quote)
// escaped.
std::wstring Quoted(const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos) return argument;
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

// An inheritable handle of a new file, for a child's standard output or error.
class OutputFile {
 public:
  explicit OutputFile(const std::wstring& path) : path_(path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    handle_ = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) {
      throw std::runtime_error("cannot create " + ToUtf8(path) + ": " + platform::win32::SystemMessage(GetLastError()));
    }
  }
  ~OutputFile() { CloseHandle(handle_); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  HANDLE Handle() const { return handle_; }
  // The file's text with CR LF turned into LF; read once the child has ended.
  std::string Text() const {
    std::ifstream in(std::filesystem::path(path_), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') lines += text[i];
    }
    return lines;
  }

 private:
  std::wstring path_;
  HANDLE handle_;
};

}  // namespace

ProgramRun RunProgram(const std::wstring& program, const std::vector<std::wstring>& arguments,
                      const std::wstring& logBase, DWORD timeoutMilliseconds) {
  std::wstring commandLine = Quoted(program);
  for (const std::wstring& argument : arguments) commandLine += L" " + Quoted(argument);
  const std::wstring folder = std::filesystem::path(program).parent_path().wstring();
  const OutputFile output(logBase + L".out");
  const OutputFile errors(logBase + L".err");

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output.Handle();
  startup.hStdError = errors.Handle();
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                      &startup, &process)) {
    throw std::runtime_error("cannot start " + ToUtf8(program) + ": " + platform::win32::SystemMessage(GetLastError()));
  }
  CloseHandle(process.hThread);
  const bool ended = WaitForSingleObject(process.hProcess, timeoutMilliseconds) == WAIT_OBJECT_0;
  ProgramRun run;
  if (!ended) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hProcess);
  if (!ended) {
    throw std::runtime_error(ToUtf8(program) + " still ran after " + std::to_string(timeoutMilliseconds / 1000) +
                             " s; its output is in " + ToUtf8(logBase) + ".out and .err");
  }
  run.output = output.Text();
  run.errors = errors.Text();
  return run;
}

std::string Describe(const ProgramRun& run) {
  return "exit status " + std::to_string(run.exitCode) + "\n--- output:\n" + run.output + "--- errors:\n" + run.errors;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

int CountLines(const std::string& text, const std::string& line) {
  const std::vector<std::string> lines = Lines(text);
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

std::vector<std::string> LinesStarting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : Lines(text)) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

}  // namespace brontelx::testing
