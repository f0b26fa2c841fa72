// The Windows programs of the build, run as separate processes with no Firebird client anywhere:
// the test host on the DLL that opens the windows (by name and by ordinal, control lists,
// screenshots), BrontelX.dll where no fbclient.dll exists, and the support tool brontelx.exe
// without a client, from a folder whose name Windows-1252 cannot write, its arguments in UTF-16.
//   BRONTELX_TEST_HOST     brontelx-winhost.exe, beside brontelx_windowdll.dll
//   BRONTELX_LIBRARY_DLL   BrontelX.dll as built
//   BRONTELX_TOOL          brontelx.exe as built
// (set by CTest); without them every test is skipped.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/ExecutableFile.h"
#include "platform/win32/WideText.h"
#include "tests/winprograms/WinePaths.h"
#include "tests/winprograms/WindowsProgram.h"

namespace brontelx::testing {
namespace {

namespace fs = std::filesystem;
using platform::win32::ToUtf8;

// The longest any one program may take.
constexpr DWORD kTimeLimit = 180 * 1000;

constexpr const wchar_t* kSettings[] = {L"BRONTELX_TEST_HOST", L"BRONTELX_LIBRARY_DLL", L"BRONTELX_TOOL"};

std::string FileText(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : kSettings) {
      if (Setting(name).empty()) GTEST_SKIP() << ToUtf8(name) << " is not set: no programs to run";
    }
    work = ExecutableFile().parent_path() / L"programs-test";
    fs::create_directories(work);
  }

  ProgramRun Run(const fs::path& program, const std::wstring& name, const std::vector<std::wstring>& arguments) {
    return RunProgram(program.wstring(), arguments, (work / name).wstring(), kTimeLimit);
  }

  // A fresh folder of the work folder holding copies of `files`.
  fs::path FolderWith(const std::wstring& name, const std::vector<fs::path>& files) {
    const fs::path folder = work / name;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const fs::path& file : files) fs::copy_file(file, folder / file.filename());
    return folder;
  }

  fs::path work;
};

// The test window by name, the settings window by ordinal; each one listed, photographed, closed
// and destroyed.
TEST_F(ProgramsTest, TheTestHostOpensListsPhotographsAndClosesBothWindows) {
  const fs::path host = WindowsPath(Setting(L"BRONTELX_TEST_HOST"));
  const struct {
    std::wstring entry;
    std::wstring name;
    std::string controlLine;
  } windows[] = {
      {L"OpenTestWindow", L"test-window", "Edit\tEditRisultato\t16,226,450,24\tGroupBoxCollaudo\treadonly,tabstop\t"},
      {L"#1", L"settings-window", "Button\tButtonChiudi\t541,8,75,25\t\ttabstop\tChiudi"},
  };
  for (const auto& window : windows) {
    const fs::path controls = work / (window.name + L".txt");
    const fs::path screenshot = work / (window.name + L".png");
    const ProgramRun run = Run(host, L"host-" + window.name,
                               {L"brontelx_windowdll.dll", window.entry, L"--close", L"--controls", controls.wstring(),
                                L"--screenshot", screenshot.wstring()});
    const std::string shown = ToUtf8(window.entry) + ": " + Describe(run);
    EXPECT_EQ(run.exitCode, 0u) << shown;
    EXPECT_EQ(CountLines(run.output, "window closed and destroyed"), 1) << shown;
    EXPECT_EQ(CountLines(FileText(controls), window.controlLine), 1) << FileText(controls);
    EXPECT_EQ(FileText(screenshot).substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << "no PNG: " << shown;
  }
}

// The entry point returns -1, GetUltimoErroreX names the library, and the host goes on (exit status
// 1: the call failed; a crash would be another).
TEST_F(ProgramsTest, BrontelXDllWithoutAClientLibraryFailsTheCallAndNamesIt) {
  const fs::path folder = FolderWith(L"no-client", {WindowsPath(Setting(L"BRONTELX_TEST_HOST")),
                                                    WindowsPath(Setting(L"BRONTELX_LIBRARY_DLL"))});
  const ProgramRun run = Run(folder / L"brontelx-winhost.exe", L"no-client",
                             {L"BrontelX.dll", L"#4", L"--user", L"1", L"--error", L"GetUltimoErroreX"});
  EXPECT_EQ(run.exitCode, 1u) << Describe(run);
  EXPECT_EQ(CountLines(run.output, "#4 returned -1"), 1) << Describe(run);
  const std::string prefix = "error: Cannot load the Firebird client library fbclient.dll: ";
  const std::vector<std::string> errors = LinesStarting(run.output, "error: ");
  ASSERT_EQ(errors.size(), 1u) << Describe(run);
  EXPECT_GT(errors.front().size(), prefix.size()) << Describe(run);
  EXPECT_EQ(errors.front().rfind(prefix, 0), 0u) << Describe(run);
}

// Help, version, usage errors (exit 2), the demo it lacks, and a batch from a file of a name
// Windows-1252 cannot write, which reads the file and then fails to load the client (exit 3, the
// message and its hint). The arguments reach it in UTF-16 and its output is UTF-8.
TEST_F(ProgramsTest, TheSupportToolWithoutAClientLibrary) {
  const fs::path folder = FolderWith(L"supporto città €", {WindowsPath(Setting(L"BRONTELX_TOOL"))});
  const fs::path data = folder / L"codici città.txt";
  std::ofstream(data, std::ios::binary) << "BOL-1\r\nBOL-2\r\n";
  enum Stream { Output, Errors };
  enum Kind { Holds, Line, LineStart, FirstLine };
  struct Expected {
    Stream stream;
    Kind kind;
    std::string text;
  };
  const struct {
    std::vector<std::wstring> arguments;
    DWORD exitCode;
    std::vector<Expected> expected;
  } cases[] = {
      {{L"--help"},
       0,
       {{Output, Holds, "usage: brontelx validate USER DATUM..."},
        {Output, Holds, "demo      is not in the Windows build"}}},
      {{L"validate", L"1", L"--help"}, 0, {{Output, LineStart, "validate  "}}},
      {{L"--version"},
       0,
       {{Output, FirstLine, "brontelx 1.0.0.0"},
        {Output, Holds, "Firebird client not loaded: Cannot load the Firebird client library fbclient.dll: "}}},
      {{L"info", L"città"},
       2,
       {{Errors, Line, "brontelx: USER must be a user code, a whole number such as 1, not \"città\""}}},
      {{L"demo"}, 2, {{Errors, LineStart, "brontelx: demo is not in the Windows build"}}},
      {{L"validate", L"1", L"--file", data.wstring()},
       3,
       {{Errors, Line, "brontelx: cannot attach the user directory"},
        {Errors, Line, "  database: " + ToUtf8(folder.wstring()) + "\\user\\user.fdb"},
        {Errors, Holds, "  Cannot load the Firebird client library fbclient.dll: "},
        {Errors, Holds, "  hint: put the Firebird client fbclient.dll"}}},
  };
  int number = 0;
  for (const auto& each : cases) {
    const ProgramRun run = Run(folder / L"brontelx.exe", L"tool-" + std::to_wstring(++number), each.arguments);
    const std::string shown = "brontelx.exe " + ToUtf8(each.arguments.front()) + ": " + Describe(run);
    EXPECT_EQ(run.exitCode, each.exitCode) << shown;
    for (const Expected& expected : each.expected) {
      const std::string& text = expected.stream == Output ? run.output : run.errors;
      const std::vector<std::string> lines = Lines(text);
      bool met = false;
      switch (expected.kind) {
        case Holds:
          met = text.find(expected.text) != std::string::npos;
          break;
        case Line:
          met = CountLines(text, expected.text) == 1;
          break;
        case LineStart:
          met = !LinesStarting(text, expected.text).empty();
          break;
        case FirstLine:
          met = !lines.empty() && lines.front() == expected.text;
          break;
      }
      EXPECT_TRUE(met) << "expected: " << expected.text << "\n" << shown;
    }
  }
}

}  // namespace
}  // namespace brontelx::testing
