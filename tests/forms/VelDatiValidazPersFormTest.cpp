#include <gtest/gtest.h>

#include <QLineEdit>

#include "database/DRKDBUtility.h"
#include "database/TransactedStatement.h"
#include "forms/VelDatiValidazPers.Form.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "userdir/DRKTabX.h"

namespace brontelx {
namespace {

using namespace veldati;

using testing::Click;
using testing::QueryText;
using testing::WidgetOf;

class VelDatiValidazPersFormTest : public testing::FormsFixture {
 protected:
  void Store(const std::string& location) {
    TDRKTabX tabX;
    tabX.SetDatabase(&archive);
    tabX.SetParametroTesto("VelZidBolDBRux", location, 0);
  }

  // The shared value as stored, with "<none>" when there is no row.
  std::string Stored() {
    const std::string sql = "SELECT COALESCE(TESTO, '<null>') FROM TABX WHERE NOME = 'VelZidBolDBRux' AND UTENTE IS NULL";
    const std::string value = QueryText(archive, sql);
    return value.empty() && QueryText(archive, "SELECT COUNT(*) FROM TABX") == "0" ? "<none>" : value;
  }

  TVelDatiValidazPersForm& Open() { return ShowHostWindow<TVelDatiValidazPersForm>(kUser, kWindowLogId); }
};

TEST_F(VelDatiValidazPersFormTest, ControlsFollowTheirTable) {
  TVelDatiValidazPersForm& form = Open();
  QWidget* window = WidgetOf(form);
  EXPECT_EQ(form.Window().Caption(), "VelDatiValidazPers - Utente: ROSSI MARIO - Ditta: ALFA SRL");
  EXPECT_EQ(window->size(), QSize(624, 441));
  EXPECT_EQ(window->font().family(), "Tahoma");
  EXPECT_EQ(window->font().pixelSize(), 13);
  testing::ExpectControls(window, {
                                      {kButtonChiudi, "QPushButton", "", {541, 8, 75, 25}, "Chiudi"},
                                      {kGroupBox1, "QGroupBox", "", {0, 8, 535, 169}, "Dati per VelZidBol"},
                                      {kButtonVelZidBolDBRux, "QPushButton", kGroupBox1, {8, 32, 105, 25},
                                       "Database dati rux"},
                                      {kEditVelZidBolDBRux, "QLineEdit", kGroupBox1, {119, 32, 290, 24}, ""},
                                  });
  EXPECT_EQ(testing::TabChain(window),
            (std::vector<std::string>{kButtonChiudi, kButtonVelZidBolDBRux, kEditVelZidBolDBRux}));
  auto* edit = window->findChild<QLineEdit*>(kEditVelZidBolDBRux);
  EXPECT_EQ(edit->property("hint").toString(), "IP:database");
  EXPECT_TRUE(edit->toolTip().isEmpty());
  EXPECT_FALSE(edit->isReadOnly());

  // Chiudi keeps its distance to the window's right edge; the group box stretches to the right.
  window->resize(824, 500);
  EXPECT_EQ(window->findChild<QWidget*>(kButtonChiudi)->geometry(), QRect(741, 8, 75, 25));
  EXPECT_EQ(window->findChild<QWidget*>(kGroupBox1)->geometry(), QRect(0, 8, 735, 169));
  EXPECT_EQ(edit->geometry(), QRect(119, 32, 290, 24));
}

TEST_F(VelDatiValidazPersFormTest, ChiudiStoresTheLocationExactlyAsTyped) {
  EXPECT_EQ(Open().Window().Text(kEditVelZidBolDBRux), "");
  ProcessEvents();
  const int windows = TopLevelWindows();

  Store(" 10.0.0.1:/dati/rux.fdb ");
  TVelDatiValidazPersForm& form = Open();
  EXPECT_EQ(form.Window().Text(kEditVelZidBolDBRux), " 10.0.0.1:/dati/rux.fdb ");
  // The button beside the edit does nothing.
  Click(form, kButtonVelZidBolDBRux);
  EXPECT_TRUE(form.Window().Visible());
  EXPECT_EQ(Stored(), " 10.0.0.1:/dati/rux.fdb ");

  form.Window().SetText(kEditVelZidBolDBRux, "  server:/città/rux.fdb  ");
  Click(form, kButtonChiudi);
  EXPECT_EQ(Stored(), "  server:/città/rux.fdb  ");
  ProcessEvents();
  EXPECT_EQ(TopLevelWindows(), windows);
  EXPECT_TRUE(errors.empty());
}

TEST_F(VelDatiValidazPersFormTest, ClosingFromTheTitleBarStoresNothing) {
  Store("primo:/rux.fdb");
  TVelDatiValidazPersForm& form = Open();
  form.Window().SetText(kEditVelZidBolDBRux, "secondo:/rux.fdb");
  form.Window().Close();
  ProcessEvents();
  EXPECT_EQ(Stored(), "primo:/rux.fdb");
  EXPECT_EQ(Open().Window().Text(kEditVelZidBolDBRux), "primo:/rux.fdb");
}

class VelDatiValidazPersFormServerTest : public VelDatiValidazPersFormTest {};

TEST_F(VelDatiValidazPersFormServerTest, AFailedStoreKeepsTheWindowAndItsText) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  UseArchiveAt(testing::RemoteName(archiveFile.Path()));
  Store("primo:/rux.fdb");
  TVelDatiValidazPersForm& form = Open();
  form.Window().SetText(kEditVelZidBolDBRux, "secondo:/rux.fdb");

  db::Connection other;
  OpenIBDatabase(other, testing::RemoteName(archiveFile.Path()));
  db::TransactedStatement lock(other, {"concurrency", "nowait"}, db::TransactedStatement::End::Rollback, false);
  lock.Query().SetSQL({"UPDATE TABX SET TESTO = 'bloccato'"});
  lock.Query().ExecQuery();
  Click(form, kButtonChiudi);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("update conflicts with concurrent update"), std::string::npos) << errors[0];
  EXPECT_TRUE(form.Window().Visible());
  EXPECT_EQ(form.Window().Text(kEditVelZidBolDBRux), "secondo:/rux.fdb");
  lock.Finish();
  EXPECT_EQ(Stored(), "primo:/rux.fdb");

  // Once the row is free, the store succeeds.
  Click(form, kButtonChiudi);
  EXPECT_EQ(Stored(), "secondo:/rux.fdb");
}

}  // namespace
}  // namespace brontelx
