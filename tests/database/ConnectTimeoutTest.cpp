#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "tests/support/SilentServer.h"

namespace brontelx {
namespace {

// With the real default (BRONTELX_CONNECT_TIMEOUT unset), not the client's own three minutes.
TEST(ConnectTimeoutTest, AServerThatNeverAnswersFailsTheOpen) {
  ASSERT_EQ(getenv("BRONTELX_CONNECT_TIMEOUT"), nullptr);
  const testing::SilentServer listener;
  const std::string location = "127.0.0.1/" + std::to_string(listener.Port()) + ":/srv/dati/archivio.fdb";
  db::Connection connection;
  const auto start = std::chrono::steady_clock::now();
  try {
    OpenIBDatabase(connection, location);
    FAIL() << "opened";
  } catch (const db::DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "connection rejected by remote interface");
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  // The client's own default is 180 seconds.
  EXPECT_LT(waited, std::chrono::seconds(60));
  EXPECT_FALSE(connection.Connected());
}

}  // namespace
}  // namespace brontelx
