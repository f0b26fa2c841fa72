#include <gtest/gtest.h>

#include <memory>

#include "DRKDBUtility.h"
#include "DRKTabX.h"
#include "HostWindows.h"
#include "PrivateServer.h"
#include "Sql.h"
#include "ValidationFixture.h"
#include "VelCollaudiPersonalizzazioni.Description.h"
#include "VelCollaudiPersonalizzazioni.Form.h"
#include "VelDatiValidazPers.Description.h"
#include "VelDatiValidazPers.Form.h"
#include "WindowChecks.h"

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
