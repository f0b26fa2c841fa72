#include <gtest/gtest.h>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

TEST(OpenRemoteServerTest, HostPathNameOpensUnchangedWithTheFixedCredentials) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  testing::TestDatabase database(schema::Kind::DeliveryNotes);
  const std::string remote = testing::RemoteName(database.Path());
  db::Connection connection;
  OpenIBDatabase(connection, remote);
  EXPECT_EQ(connection.DatabaseName(), remote);
  EXPECT_EQ(testing::QueryText(connection, "SELECT CURRENT_USER || ' ' || MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                                           "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "SYSDBA TCPv4");
  testing::ExecSql(connection, "INSERT INTO BOLLE (BOL_COD) VALUES ('Città')");
  EXPECT_EQ(testing::QueryText(connection, "SELECT BOL_COD FROM BOLLE"), "Città");
}

TEST(OpenRemoteServerTest, WrongPathGivesTheClientError) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  db::Connection connection;
  try {
    OpenIBDatabase(connection, testing::RemoteName("/nonexistent/folder/db.fdb"));
    FAIL() << "opened";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("I/O error during \"open\" operation for file \"/nonexistent/folder/db.fdb\""),
              std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(connection.Connected());
}

}  // namespace
}  // namespace brontelx
