// Loading fbclient.dll: a client that is missing or is not one is reported by name, without a
// system dialog and without changing how the host's thread reports errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "database/ClientLibrary.h"
#include "database/DatabaseError.h"

namespace brontelx {
namespace {

std::string LoadError(const char* library) {
  try {
    db::client::LoadMaster(library);
  } catch (const db::DatabaseError& e) {
    return e.what();
  }
  return "loaded";
}

TEST(Win32ClientLibraryTest, AClientThatCannotBeLoadedIsNamed) {
  EXPECT_STREQ(db::client::kLibraryName, "fbclient.dll");
  const DWORD errorMode = GetThreadErrorMode();

  const std::string missing = LoadError("fbclient-missing.dll");
  const std::string prefix = "Cannot load the Firebird client library fbclient-missing.dll: ";
  EXPECT_EQ(missing.rfind(prefix, 0), 0u) << missing;
  EXPECT_GT(missing.size(), prefix.size()) << "no reason given";

  const std::string notAClient = LoadError("kernel32.dll");
  EXPECT_EQ(notAClient.rfind("The Firebird client library kernel32.dll has no fb_get_master_interface: ", 0), 0u)
      << notAClient;

  // A file that is no DLL: the system's reason names the file it could not load.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("brontelx-client " + std::to_string(GetCurrentProcessId()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "fbclient.dll") << "not a library";
  const std::string file = (folder / "fbclient.dll").string();
  const std::string notADll = LoadError(file.c_str());
  std::filesystem::remove_all(folder);
  const std::string loadFailed = "Cannot load the Firebird client library " + file + ": ";
  ASSERT_EQ(notADll.rfind(loadFailed, 0), 0u) << notADll;
  EXPECT_NE(notADll.find(file, loadFailed.size()), std::string::npos) << notADll;
  EXPECT_EQ(notADll.find('%'), std::string::npos) << notADll;

  EXPECT_EQ(GetThreadErrorMode(), errorMode);
}

}  // namespace
}  // namespace brontelx
