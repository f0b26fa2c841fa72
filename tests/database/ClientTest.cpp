#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "database/ClientLibrary.h"
#include "database/DatabaseError.h"
#include "database/FbClient.h"
#include "database/FbRef.h"
#include "database/ProjectFirebirdRoot.h"
#include "database/Status.h"

namespace brontelx {
namespace {

// The interfaces clear the status at the start of every call; the error of a call must surface
// before the next call, whatever that one does.
TEST(StatusTest, AnErrorIsRaisedByTheCallThatFailed) {
  db::Status status;
  const db::FbRef<Firebird::IMetadataBuilder> builder(db::Master()->getMetadataBuilder(status.Get(), 1));
  bool laterCallRan = false;
  try {
    builder->setType(status.Get(), 5, SQL_LONG);
    laterCallRan = true;
    builder->setScale(status.Get(), 0, 0);
  } catch (const db::DatabaseError& e) {
    EXPECT_STREQ(e.what(), "Invalid index 5 in function IMetadataBuilder::setType");
  }
  EXPECT_FALSE(laterCallRan);
  // The same status serves the next calls.
  builder->setType(status.Get(), 0, SQL_LONG);
  const db::FbRef<Firebird::IMessageMetadata> metadata(builder->getMetadata(status.Get()));
  EXPECT_EQ(metadata->getCount(status.Get()), 1u);
}

TEST(ClientLibraryTest, TheClientIsPointedAtTheProjectsFirebirdRoot) {
  db::Master();
  const std::filesystem::path root = db::client::ProjectFirebirdRoot();
  ASSERT_FALSE(root.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(root / "firebird.conf"));
  EXPECT_TRUE(std::filesystem::is_regular_file(root / "intl" / "libfbintl.so"));
  const char* configured = getenv("FIREBIRD");
  ASSERT_NE(configured, nullptr);
  EXPECT_EQ(std::filesystem::path(configured), root);
}

TEST(ClientLibraryTest, ALibraryThatCannotBeLoadedIsNamed) {
  try {
    db::client::LoadMaster("libfbclient-missing.so.2");
    FAIL() << "loaded";
  } catch (const db::DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot load the Firebird client library libfbclient-missing.so.2: ", 0), 0u)
        << e.what();
  }
}

}  // namespace
}  // namespace brontelx
