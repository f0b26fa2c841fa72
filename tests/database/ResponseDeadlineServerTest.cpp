#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/ResponseDeadline.h"
#include "database/Statement.h"
#include "database/Transaction.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "tests/support/StallingRelay.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

using Clock = std::chrono::steady_clock;

class ResponseDeadlineServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BRONTELX_REQUIRE_LOOPBACK_SERVER();
    setenv("BRONTELX_RESPONSE_TIMEOUT", "2", 1);
  }
  void TearDown() override { unsetenv("BRONTELX_RESPONSE_TIMEOUT"); }
};

// A server that goes silent during the attach (after its first answer), right after it, and at
// the prepare of a query: each call ends at the deadline with its message, later calls on the
// connection fail at once with the same message, and the server is reached again once it answers.
TEST_F(ResponseDeadlineServerTest, EachStalledExchangeEndsAtTheDeadline) {
  testing::TestDatabase database(schema::Kind::DeliveryNotes);
  enum class Stall { InAttach, AfterAttach, AtPrepare };
  for (const Stall stall : {Stall::InAttach, Stall::AfterAttach, Stall::AtPrepare}) {
    SCOPED_TRACE(static_cast<int>(stall));
    testing::StallingRelay relay(*testing::LoopbackPort(), stall == Stall::InAttach ? 1 : -1);
    const std::string server = "127.0.0.1/" + std::to_string(relay.Port());
    const std::string location = server + ":" + database.Path();
    const std::string expected = db::ResponseDeadline::Message(server, 2);
    EXPECT_NE(expected.find("2 seconds"), std::string::npos);

    db::Connection connection;
    db::Transaction transaction(&connection);
    db::Statement query(&connection, &transaction);
    query.SetSQL({"SELECT COUNT(*) FROM BOLLE"});
    auto start = Clock::now();
    try {
      OpenIBDatabase(connection, location);
      if (stall == Stall::AfterAttach) relay.Silence();
      start = Clock::now();
      transaction.StartTransaction();
      relay.Silence();
      start = Clock::now();
      query.ExecQuery();
      FAIL() << "answered";
    } catch (const db::DatabaseError& e) {
      EXPECT_EQ(std::string(e.what()), expected);
    }
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, std::chrono::seconds(2));
    EXPECT_LT(waited, std::chrono::seconds(4));

    if (stall != Stall::InAttach) {
      start = Clock::now();
      try {
        db::Transaction later(&connection);
        later.StartTransaction();
        FAIL() << "answered";
      } catch (const db::DatabaseError& e) {
        EXPECT_EQ(std::string(e.what()), expected);
      }
      EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    }
    connection.Close();
    EXPECT_FALSE(connection.Connected());

    relay.Answer();
    db::Connection again;
    OpenIBDatabase(again, location);
    EXPECT_EQ(testing::QueryInt(again, "SELECT COUNT(*) FROM BOLLE"), 0);
  }
}

TEST(ResponseDeadlineTest, ServerNamedByTheLocation) {
  const struct {
    const char* location;
    const char* server;
  } cases[] = {
      {"dbserver:/srv/dati/rux.fdb", "dbserver"},
      {"10.0.0.5/3051:C:\\dati\\rux.fdb", "10.0.0.5/3051"},
      {"inet://dbserver:3051/rux", "dbserver:3051"},
      {"\\\\dbserver\\dati\\rux.fdb", "dbserver"},
      {"[::1]/3050:/dati/rux.fdb", "[::1]/3050"},
      {"/srv/dati/rux.fdb", ""},
      {"C:\\dati\\rux.fdb", ""},
      {"/srv/a:b/rux.fdb", ""},
      {"dati/archivi/x:rux.fdb", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(db::ResponseDeadline::ServerOf(c.location), c.server) << c.location;
}

}  // namespace
}  // namespace brontelx
