#include <gtest/gtest.h>

#include "tests/support/LoopbackServer.h"
#include "tests/validations/VelZidBolFixture.h"

namespace brontelx {
namespace {

// WIN1252 databases, as the product's archives are, with the archive and the delivery notes both
// opened by the loopback server.
class VelZidBolServerTest : public testing::VelZidBolFixture {
 protected:
  VelZidBolServerTest() : VelZidBolFixture("WIN1252") {}
  void SetUp() override {
    BRONTELX_REQUIRE_LOOPBACK_SERVER();
    archiveOverServer = true;
    VelZidBolFixture::SetUp();
  }
};

TEST_F(VelZidBolServerTest, DeliveryNotesOverTheLoopbackServer) {
  AddDeliveryNote("Città-1");
  Log(4, 40, "APERTURA");
  Log(4, 40, "Città-1");
  SetLocation(testing::RemoteName(ruxFile.Path()));
  EXPECT_EQ(Run(1, "Città-1"), "OK");
  EXPECT_EQ(Run(1, "Città-2"), "ERR - Bolletta Città-2 non trovata nell'archivio RUX.");
  Log(1, 41, "Apertura più tardi");
  EXPECT_EQ(Run(1, "Città-1"), "OK");
  const std::string wrong = testing::RemoteName(ruxFile.Folder().string() + "/assente.fdb");
  SetLocation(wrong);
  const std::string result = Run(1, "Città-1");
  EXPECT_EQ(result.rfind("ERR - Impossibile connettersi al database RUX (" + wrong + "): ", 0), 0u) << result;
  EXPECT_NE(result.find("I/O error during \"open\" operation"), std::string::npos) << result;
}

}  // namespace
}  // namespace brontelx
