#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace brontelx::testing {
namespace {

namespace fs = std::filesystem;

int ExitCode(const ChildResult& result) { return result.status.exited ? result.status.code : 128 + result.status.code; }

// `cmake --install` into a folder, the folder then moved under a name with an accented letter: the
// programs and the library find each other and their databases beside themselves.
TEST(InstalledCopyTest, AMovedInstallationWorks) {
  TempDir temp;
  const fs::path installed = temp.Path() / "installato";
  const ChildResult install = RunChild("cmake", {"--install", BRONTELX_BINARY_DIR, "--prefix", installed.string()});
  ASSERT_EQ(ExitCode(install), 0) << install.output << install.errors;
  const fs::path moved = temp.Path() / "copia città";
  fs::rename(installed, moved);
  // The Firebird configuration goes with the programs; without it they would fall back to the
  // build tree's on this machine and to the system's elsewhere.
  EXPECT_TRUE(fs::is_regular_file(moved / "bin" / "firebird" / "firebird.conf"));
  EXPECT_TRUE(fs::is_regular_file(moved / "bin" / "firebird" / "intl" / "libfbintl.so"));
  // A host's developer builds against the installed header through pkg-config, from the moved folder.
  EXPECT_TRUE(fs::is_regular_file(moved / "include" / "BrontelX.h"));
  const auto pkgConfig = [&](const std::string& variable) {
    const ChildResult result = RunChild("pkg-config", {"--variable=" + variable, "brontelx"}, {},
                                        {"PKG_CONFIG_PATH=" + (moved / "lib" / "pkgconfig").string()});
    EXPECT_EQ(ExitCode(result), 0) << result.errors;
    // pkg-config writes a blank as "\ " for the shell.
    std::string path = result.output.substr(0, result.output.find('\n'));
    for (std::size_t at = path.find("\\ "); at != std::string::npos; at = path.find("\\ ", at)) path.erase(at, 1);
    return fs::weakly_canonical(path);
  };
  EXPECT_EQ(pkgConfig("includedir"), fs::canonical(moved / "include"));
  EXPECT_EQ(pkgConfig("libdir"), fs::canonical(moved / "bin"));
  const std::string bin = (moved / "bin").string();

  const ChildResult demo = RunChild(bin + "/brontelx", {"demo", (moved / "dati").string()});
  ASSERT_EQ(ExitCode(demo), 0) << demo.output << demo.errors;
  EXPECT_TRUE(fs::exists(moved / "bin" / "user" / "user.fdb"));

  const ChildResult validate = RunChild(bin + "/brontelx", {"validate", "1", "BOL-1001"});
  EXPECT_EQ(ExitCode(validate), 0) << validate.errors;
  EXPECT_EQ(validate.output, "OK\n");

  const ChildResult info = RunChild(bin + "/brontelx", {"info", "1"});
  EXPECT_EQ(ExitCode(info), 0) << info.output << info.errors;
  EXPECT_NE(info.output.find(bin + "/user/user.fdb"), std::string::npos) << info.output;

  const fs::path shots = temp.Path() / "schermate";
  const ChildResult host = RunChild(bin + "/brontelx-host", {"test", "--user", "1", "--window-id", "100",
                                                             "--screenshot", shots.string()},
                                    {}, {"QT_QPA_PLATFORM=offscreen"});
  EXPECT_EQ(ExitCode(host), 0) << host.errors;
  EXPECT_EQ(host.output, (shots / "test.png").string() + "\n");
  EXPECT_GT(fs::file_size(shots / "test.png"), 1000u);

  // Help and a mistyped argument are answered without reaching a display.
  const std::vector<std::string> noDisplay{"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY"};
  const ChildResult help = RunChild(bin + "/brontelx-host", {"--help"}, {}, noDisplay);
  EXPECT_EQ(ExitCode(help), 0) << help.errors;
  EXPECT_EQ(help.output.rfind("usage: brontelx-host settings|test --user N", 0), 0u) << help.output;
  const ChildResult typo = RunChild(bin + "/brontelx-host", {"test", "--usr", "1"}, {}, noDisplay);
  EXPECT_EQ(ExitCode(typo), 2);
  EXPECT_EQ(typo.errors.rfind("brontelx-host: unknown option --usr\nusage: ", 0), 0u) << typo.errors;
  // Without a display the host says so and how to run offscreen, instead of the toolkit's abort.
  const ChildResult headless = RunChild(bin + "/brontelx-host", {"test", "--user", "1"}, {}, noDisplay);
  EXPECT_EQ(ExitCode(headless), 2);
  EXPECT_NE(headless.errors.find("QT_QPA_PLATFORM=offscreen brontelx-host"), std::string::npos) << headless.errors;

  const ChildResult unknown = RunChild(bin + "/brontelx-host", {"settings", "--user", "42"}, {},
                                       {"QT_QPA_PLATFORM=offscreen"});
  EXPECT_EQ(ExitCode(unknown), 1);
  EXPECT_NE(unknown.errors.find("brontelx-host: Utente 42 non trovato\n  user directory: " + bin + "/user/user.fdb\n"),
            std::string::npos) << unknown.errors;
}

}  // namespace
}  // namespace brontelx::testing
