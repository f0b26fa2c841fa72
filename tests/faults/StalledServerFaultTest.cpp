#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <string>

#include "database/DRKDBUtility.h"
#include "database/ResponseDeadline.h"
#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/StallingRelay.h"
#include "tests/support/ValidationFixture.h"
#include "validations/VelValidazPers.h"

namespace brontelx {
namespace {

using Clock = std::chrono::steady_clock;
using testing::Click;

// Servers reached through a relay of the test's own that goes silent, with a response deadline of
// two seconds.
class StalledServerFaultTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    BRONTELX_REQUIRE_LOOPBACK_SERVER();
    ValidationFixture::SetUp();
    setenv("BRONTELX_RESPONSE_TIMEOUT", "2", 1);
    AddDeliveryNote("B1");
    Log(1, 1, kUser, "APERTURA");
  }
  void TearDown() override {
    unsetenv("BRONTELX_RESPONSE_TIMEOUT");
    ValidationFixture::TearDown();
  }

  static std::string Through(const testing::StallingRelay& relay, const std::string& path) {
    return "127.0.0.1/" + std::to_string(relay.Port()) + ":" + path;
  }
  static std::string Deadline(const testing::StallingRelay& relay) {
    return db::ResponseDeadline::Message("127.0.0.1/" + std::to_string(relay.Port()), 2);
  }
};

// With the archive embedded, the delivery-note server goes silent during the attach, right after
// it and at the first statements: at the deadline the validation answers the ERR text of that step,
// or fails with the deadline's message where the step has none; the next one is OK once the server
// answers again.
TEST_F(StalledServerFaultTest, AValidationEndsAtTheDeadlineAndTheNextWorks) {
  for (const int answers : {1, 4, 5}) {
    SCOPED_TRACE(answers);
    testing::StallingRelay relay(*testing::LoopbackPort(), answers);
    SetLocation(Through(relay, ruxFile.Path()));
    const auto start = Clock::now();
    std::string result;
    try {
      result = EseguiValidazPers(archive, "VelZidBol", kUser, "B1");
    } catch (const std::exception& e) {
      result = std::string("ERR - ") + e.what();
    }
    const auto waited = Clock::now() - start;
    EXPECT_EQ(result.rfind("ERR - ", 0), 0u) << result;
    EXPECT_NE(result.find(Deadline(relay)), std::string::npos) << result;
    EXPECT_GE(waited, std::chrono::seconds(2));
    EXPECT_LT(waited, std::chrono::seconds(4));
    relay.Answer();
    EXPECT_EQ(EseguiValidazPers(archive, "VelZidBol", kUser, "B1"), "OK");
  }
}

// A window whose archive on a server went silent shows the deadline's message at the deadline, and
// at once for every later action; a window opened once the server answers works.
TEST_F(StalledServerFaultTest, AWindowWithACutArchiveFailsAtOnceAndReopens) {
  testing::StallingRelay relay(*testing::LoopbackPort());
  UseArchiveAt(Through(relay, archiveFile.Path()));
  // The server holds the file now; the test's own connection is not needed.
  archive.Close();
  auto& test = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  test.Window().SetText(velcollaudi::kEditDatoAcquisito, "B1");
  relay.Silence();
  auto start = Clock::now();
  Click(test, velcollaudi::kButtonTestVelZidBol);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(4));
  start = Clock::now();
  Click(test, velcollaudi::kButtonTestVelZidBol);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
  ASSERT_EQ(errors.size(), 2u);
  for (const std::string& error : errors) EXPECT_NE(error.find(Deadline(relay)), std::string::npos) << error;
  Click(test, velcollaudi::kButtonChiudi);
  ProcessEvents();

  relay.Answer();
  auto& again = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  again.Window().SetText(velcollaudi::kEditDatoAcquisito, "B1");
  Click(again, velcollaudi::kButtonTestVelZidBol);
  EXPECT_EQ(again.Window().Text(velcollaudi::kEditRisultato), "OK");
  EXPECT_EQ(errors.size(), 2u);
}

}  // namespace
}  // namespace brontelx
