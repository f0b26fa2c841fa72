// File names on Windows: UTF-8 text inside the library, UTF-16 in the system. Folders whose names
// hold characters beyond the ANSI code page must be found, read and named back unchanged, and the
// user directory lies beside the running program.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Utf8Path.h"
#include "database/DRKDBUtility.h"
#include "userdir/DRKUser.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;

// "città € 𝄞" as UTF-16 and as UTF-8, written independently of the conversions under test.
const std::wstring kWideName = L"brontelx citt\u00E0 \u20AC \U0001D11E";
const std::string kUtf8Name = "brontelx citt\xC3\xA0 \xE2\x82\xAC \xF0\x9D\x84\x9E";

TEST(Win32PathsTest, TextAndPathsConvertWithoutLoss) {
  EXPECT_EQ(PathFromUtf8(kUtf8Name).native(), kWideName);
  EXPECT_EQ(PathToUtf8(fs::path(kWideName)), kUtf8Name);
  // Malformed text still names a path instead of failing.
  EXPECT_EQ(PathFromUtf8("a\xFF").native(), L"a\uFFFD");
  EXPECT_EQ(PathToUtf8(fs::path(std::wstring(L"a\xD800"))), "a\xEF\xBF\xBD");
}

TEST(Win32PathsTest, DatiIniInAFolderWithAccentsIsFoundAndRead) {
  const fs::path folder = fs::temp_directory_path() / (kWideName + L" " + std::to_wstring(GetCurrentProcessId()));
  fs::create_directories(folder);
  std::ofstream(folder / L"dati.ini", std::ios::binary) << "[CONFIG]\r\nNome Server=SRVDATI\r\nAlias=DITTA\r\n";
  const std::string database = PathToUtf8(folder) + "\\archivio.fdb";
  EXPECT_EQ(DatiIniPath(database), PathToUtf8(folder) + "\\dati.ini");
  EXPECT_EQ(DescribeDatabase(database).GetIBFileName(), "SRVDATI:DITTA");
  // A folder named dati.ini is no settings file.
  fs::remove(folder / L"dati.ini");
  fs::create_directory(folder / L"dati.ini");
  EXPECT_EQ(DescribeDatabase(database).GetIBFileName(), database);
  fs::remove_all(folder);
}

TEST(Win32PathsTest, TheUserDirectoryIsUserUserFdbBesideTheProgram) {
  const std::string file = TDRKUser::DefaultFileName();
  ASSERT_GE(file.size(), 3u);
  EXPECT_EQ(file.substr(1, 2), ":\\") << file;
  const std::string tail = "\\user\\user.fdb";
  ASSERT_TRUE(file.ends_with(tail)) << file;
  const fs::path folder = PathFromUtf8(file).parent_path().parent_path();
  EXPECT_TRUE(fs::is_regular_file(folder / L"brontelx_win32_core_tests.exe")) << file;
}

}  // namespace
}  // namespace brontelx
