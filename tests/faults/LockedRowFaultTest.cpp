#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/TransactedStatement.h"
#include "forms/Form.Base.h"
#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "session/BrontelX.Classes.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "tests/support/ValidationFixture.h"

namespace brontelx {
namespace {

using testing::QueryText;

// A window of situation 2 whose placement can be saved on demand.
class PlacedForm : public TVelCollaudiPersonalizzazioniForm {
 public:
  using TVelCollaudiPersonalizzazioniForm::TVelCollaudiPersonalizzazioniForm;
  void Save() { ScritturaPosizione(Sessione().DRKUser().CodiceUtente(), 2, kCodiceProgetto, Sessione().IBDatabase()); }
};

// Every write of the library on a row that another connection has changed and not yet committed
// fails at once with the server's message and leaves the committed value in place.
class LockedRowFaultTest : public testing::ValidationFixture {
 protected:
  // Runs `write` while `lockSql` holds its rows in an open transaction of another connection, and
  // returns the message it failed with.
  std::string WhileLocked(const std::string& location, const std::string& lockSql, const std::function<void()>& write) {
    db::Connection other;
    OpenIBDatabase(other, location);
    db::TransactedStatement lock(other, {"concurrency", "nowait"}, db::TransactedStatement::End::Rollback, false);
    lock.Query().SetSQL({lockSql});
    lock.Query().ExecQuery();
    try {
      write();
    } catch (const db::DatabaseError& e) {
      return e.what();
    }
    return "written";
  }

  static void ExpectConflict(const std::string& message) {
    EXPECT_NE(message.find("update conflicts with concurrent update"), std::string::npos) << message;
  }

  void EveryWriteFailsAtOnce(const std::string& usersLocation, const std::string& archiveLocation) {
    TSessione session;
    session.Avvia(kUser);
    session.DRKTabX().SetParametroTesto("Nome", "prima", 0);
    session.DRKUser().SetParamQuadrel("Colore", "blu");
    testing::ExecSql(archive, "INSERT INTO STOPOS1 (CodiceSituazione, CodiceUtente, CodiceProgetto, PosX, PosY, "
                              "DimX, DimY) VALUES (2, 15, 541, 1, 2, 300, 200)");

    ExpectConflict(WhileLocked(archiveLocation, "UPDATE TABX SET TESTO = 'altro'",
                               [&] { session.DRKTabX().SetParametroTesto("Nome", "dopo", 0); }));
    EXPECT_EQ(session.DRKTabX().GetParametroTesto("Nome", 0), "prima");

    ExpectConflict(WhileLocked(usersLocation, "UPDATE TABQUADREL SET VALORE = 'altro'",
                               [&] { session.DRKUser().SetParamQuadrel("Colore", "rosso"); }));
    EXPECT_EQ(session.DRKUser().GetParamQuadrel("Colore"), "blu");

    ExpectConflict(WhileLocked(usersLocation, "UPDATE TELVILOGFUNZ SET FUNZIONE = 'altro'",
                               [&] { session.DRKUser().ScritturaHandleDiApertura(kWindowLogId, 1234); }));
    EXPECT_EQ(LoggedHandle(), "");

    PlacedForm form(&session);
    form.Show();
    form.Window().SetFrame({50, 60, 400, 300});
    ExpectConflict(WhileLocked(archiveLocation, "UPDATE STOPOS1 SET POSX = 99", [&] { form.Save(); }));
    EXPECT_EQ(QueryText(archive, "SELECT POSX || ',' || POSY FROM STOPOS1"), "1,2");
  }
};

TEST_F(LockedRowFaultTest, EmbeddedWritesFailAtOnce) { EveryWriteFailsAtOnce(userDirectory->Path(), archiveFile.Path()); }

// Both databases on the loopback server: the user directory through a dati.ini beside it that names
// it there, as an installation that keeps it on a server does.
class LockedRowFaultServerTest : public LockedRowFaultTest {
 protected:
  void TearDown() override {
    std::filesystem::remove(userDirectory->Folder() / "dati.ini");
    LockedRowFaultTest::TearDown();
  }
};

TEST_F(LockedRowFaultServerTest, RemoteWritesFailAtOnce) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  UseArchiveAt(testing::RemoteName(archiveFile.Path()));
  users.Close();
  std::ofstream(userDirectory->Folder() / "dati.ini")
      << "[CONFIG]\r\nPercorsoDatabase=" << testing::RemoteName(userDirectory->Path()) << "\r\n";
  OpenIBDatabase(users, userDirectory->Path());
  ASSERT_EQ(QueryText(users, "SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = "
                             "CURRENT_CONNECTION"),
            "TCPv4");
  EveryWriteFailsAtOnce(userDirectory->Path(), testing::RemoteName(archiveFile.Path()));
}

}  // namespace
}  // namespace brontelx
