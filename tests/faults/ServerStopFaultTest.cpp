#include <gtest/gtest.h>

#include <memory>

#include "database/DRKDBUtility.h"
#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/VelDatiValidazPers.Form.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/PrivateServer.h"
#include "tests/support/Sql.h"
#include "tests/support/ValidationFixture.h"
#include "userdir/DRKTabX.h"

namespace brontelx {
namespace {

using testing::Click;

// The archive and the delivery-note database on a server of the test's own, which the test stops
// while the windows are open.
class ServerStopFaultTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    ValidationFixture::SetUp();
    server = std::make_unique<testing::PrivateServer>();
    UseArchiveAt(server->Location(archiveFile.Path()));
    ruxLocation = server->Location(ruxFile.Path());
    SetLocation(ruxLocation);
    AddDeliveryNote("B1");
    Log(1, 1, kUser, "APERTURA");
  }

  std::unique_ptr<testing::PrivateServer> server;
};

TEST_F(ServerStopFaultTest, WindowsSurviveTheirServerAndLoseNothingStored) {
  auto& test = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  auto& settings = ShowHostWindow<TVelDatiValidazPersForm>(kUser, kWindowLogId);
  test.Window().SetText(velcollaudi::kEditDatoAcquisito, "B1");
  Click(test, velcollaudi::kButtonTestVelZidBol);
  EXPECT_EQ(test.Window().Text(velcollaudi::kEditRisultato), "OK");
  // Stored through the settings window before the server goes.
  settings.Window().SetText(veldati::kEditVelZidBolDBRux, ruxLocation + " ");
  Click(settings, veldati::kButtonChiudi);
  ProcessEvents();
  const int windows = TopLevelWindows();
  archive.Close();
  server->Stop();

  // The validation cannot read the archive any more: the error box says why, the result stays.
  Click(test, velcollaudi::kButtonTestVelZidBol);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_FALSE(errors[0].empty());
  EXPECT_EQ(test.Window().Text(velcollaudi::kEditRisultato), "OK");
  Click(test, velcollaudi::kButtonTestVelZidBol);
  EXPECT_EQ(errors.size(), 2u);

  // Closing saves no placement, says nothing and destroys the window with its session.
  Click(test, velcollaudi::kButtonChiudi);
  ProcessEvents();
  EXPECT_EQ(errors.size(), 2u);
  EXPECT_EQ(TopLevelWindows(), windows - 1);

  // What was committed before is in the file.
  OpenIBDatabase(archive, archiveFile.Path());
  EXPECT_EQ(StoredLocation(), ruxLocation + " ");
}

}  // namespace
}  // namespace brontelx
