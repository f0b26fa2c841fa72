#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <memory>

#include "tests/support/PrivateServer.h"
#include "tests/support/SilentServer.h"
#include "tests/support/ValidationFixture.h"
#include "validations/VelValidazPers.h"

namespace brontelx {
namespace {

using Clock = std::chrono::steady_clock;

// A delivery-note location the validation cannot reach gives the "Impossibile connettersi" text,
// and soon: well within the connect timeout, far from the client's own three minutes.
class UnreachableNotesFaultTest : public testing::ValidationFixture {
 protected:
  std::string RunAt(const std::string& location) {
    SetLocation(location);
    return EseguiValidazPers(archive, "VelZidBol", kUser, "B1");
  }

  static void ExpectCannotConnect(const std::string& result, const std::string& location) {
    EXPECT_EQ(result.rfind("ERR - Impossibile connettersi al database RUX (" + location + "): ", 0), 0u) << result;
  }
};

TEST_F(UnreachableNotesFaultTest, RefusedClosedOrSilentServers) {
  // A server whose SYSDBA has another password.
  {
    const testing::PrivateServer strict("altra-password");
    const std::string location = strict.Location(ruxFile.Path());
    const std::string result = RunAt(location);
    ExpectCannotConnect(result, location);
    EXPECT_NE(result.find("Your user name and password are not defined"), std::string::npos) << result;
  }
  // A port nobody listens on.
  const std::string closed = "127.0.0.1/1:" + ruxFile.Path();
  ExpectCannotConnect(RunAt(closed), closed);
  // A server that accepts and never answers, waited for a second instead of the real fifteen
  // (ConnectTimeoutTest waits those).
  const testing::SilentServer silent;
  const std::string location = "127.0.0.1/" + std::to_string(silent.Port()) + ":" + ruxFile.Path();
  setenv("BRONTELX_CONNECT_TIMEOUT", "1", 1);
  const Clock::time_point start = Clock::now();
  ExpectCannotConnect(RunAt(location), location);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(60));
  unsetenv("BRONTELX_CONNECT_TIMEOUT");
}

}  // namespace
}  // namespace brontelx
