#include <gtest/gtest.h>

#include "LoopbackServer.h"
#include "VelZidBolFixture.h"

namespace brontelx {
namespace {

using VelZidBolServerTest = testing::VelZidBolFixture;

TEST_F(VelZidBolServerTest, DeliveryNotesOverTheLoopbackServer) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  AddDeliveryNote("B1");
  Log(1, 1, "APERTURA");
  SetLocation(testing::RemoteName(ruxFile.Path()));
  EXPECT_EQ(Run(1, "B1"), "OK");
  EXPECT_EQ(Run(1, "B2"), "ERR - Bolletta B2 non trovata nell'archivio RUX.");
  const std::string wrong = testing::RemoteName(ruxFile.Folder().string() + "/assente.fdb");
  SetLocation(wrong);
  const std::string result = Run(1, "B1");
  EXPECT_EQ(result.rfind("ERR - Impossibile connettersi al database RUX (" + wrong + "): ", 0), 0u) << result;
  EXPECT_NE(result.find("I/O error during \"open\" operation"), std::string::npos) << result;
}

}  // namespace
}  // namespace brontelx
