// Loading fbclient.dll: a client that is missing or is not one is reported by name, without a
// system dialog and without changing how the host's thread reports errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ClientLibrary.h"
#include "DatabaseError.h"

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

  EXPECT_EQ(GetThreadErrorMode(), errorMode);
}

}  // namespace
}  // namespace brontelx
