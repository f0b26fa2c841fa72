#include <gtest/gtest.h>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "tests/support/Sql.h"
#include "tests/validations/VelZidBolFixture.h"
#include "validations/VelValidazPers.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;
using VelZidBolTest = testing::VelZidBolFixture;

const std::string kNotConfigured = "ERR - Parametro \"VelZidBolDBRux\" non configurato.";

std::string NotFound(const std::string& datum) { return "ERR - Bolletta " + datum + " non trovata nell'archivio RUX."; }
std::string NoChain(const std::string& datum) {
  return "ERR - Bolletta " + datum + " non associata a nessuna catena di APERTURA.";
}

TEST_F(VelZidBolTest, DispatcherMatchesTheNameIgnoringAsciiCaseOnly) {
  AddDeliveryNote("B1");
  Log(5, 1, "APERTURA");
  EXPECT_EQ(Run(5, "B1", "VelZidBol"), "OK");
  EXPECT_EQ(Run(5, "B1", "velzidbol"), "OK");
  EXPECT_EQ(Run(5, "B1", "VELZIDBOL"), "OK");
  for (const char* name : {" VelZidBol", "VelZidBolX", "VelZidBol ", "", "VelZıdBol", "Vel"})
    EXPECT_EQ(Run(5, "B1", name), "ERR Funzione non esistente") << name;
}

TEST_F(VelZidBolTest, MissingLocationIsNotConfigured) {
  ExecSql(archive, "DELETE FROM TABX");
  EXPECT_EQ(Run(1, "B1"), kNotConfigured);
  ExecSql(archive, "INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (1, 'VelZidBolDBRux', NULL, NULL)");
  EXPECT_EQ(Run(1, "B1"), kNotConfigured);
  SetLocation("");
  EXPECT_EQ(Run(1, "B1"), kNotConfigured);
  // A location owned by a user is not the shared one.
  ExecSql(archive, "UPDATE TABX SET TESTO = 'x.fdb', UTENTE = 1");
  EXPECT_EQ(Run(1, "B1"), kNotConfigured);
}

TEST_F(VelZidBolTest, UnreachableLocationQuotesItAndTheClientMessage) {
  const std::string location = ruxFile.Folder().string() + "/assente.fdb";
  SetLocation(location);
  std::string clientMessage;
  try {
    db::Connection probe;
    OpenIBDatabase(probe, location);
  } catch (const db::DatabaseError& e) {
    clientMessage = e.what();
  }
  ASSERT_FALSE(clientMessage.empty());
  EXPECT_EQ(Run(1, "B1"), "ERR - Impossibile connettersi al database RUX (" + location + "): " + clientMessage);
}

TEST_F(VelZidBolTest, DeliveryNoteMustExist) {
  AddDeliveryNote("B1");
  Log(1, 1, "APERTURA");
  EXPECT_EQ(Run(1, "B2"), NotFound("B2"));
  EXPECT_EQ(Run(1, "b1"), NotFound("b1"));
  EXPECT_EQ(Run(1, ""), "ERR - Bolletta  non trovata nell'archivio RUX.");
  const std::string tooLong(21, '9');
  const std::string result = Run(1, tooLong);
  EXPECT_EQ(result.rfind("ERR - Errore durante la verifica nel database RUX: ", 0), 0u) << result;
  EXPECT_NE(result.find("string right truncation"), std::string::npos) << result;
}

TEST_F(VelZidBolTest, UsersLatestEntryOpeningIsAShortcut) {
  AddDeliveryNote("B1");
  for (const char* opening : {"APERTURA", "apertura", "Prima APERTURA del giorno"}) {
    Log(1, 100 + nextLogId, opening);
    EXPECT_EQ(Run(1, "B1"), "OK") << opening;
  }
  // A later entry of the same user without the word ends the shortcut; the chain check decides.
  Log(1, 200, "ALTRO");
  EXPECT_EQ(Run(1, "B1"), NoChain("B1"));
  // Another user's opening is not this user's latest entry.
  Log(2, 300, "APERTURA");
  EXPECT_EQ(Run(1, "B1"), NoChain("B1"));
  // A user with no entry at all goes straight to the chain check.
  EXPECT_EQ(Run(9, "B1"), NoChain("B1"));
}

TEST_F(VelZidBolTest, ChainCheckLooksAtEveryUsersChains) {
  AddDeliveryNote("B1");
  AddDeliveryNote("B2");
  AddDeliveryNote("B3");
  Log(7, 10, "APERTURA");
  Log(7, 10, "B1");
  Log(8, 11, "B2");
  Log(8, -1, "APERTURA");
  Log(8, -1, "B3");
  Log(1, 12, "Prima APERTURA");
  Log(1, 12, "B3");
  Log(1, 13, "fine");
  EXPECT_EQ(Run(1, "B1"), "OK") << "chain 10 of user 7 has an opening";
  EXPECT_EQ(Run(1, "B2"), NoChain("B2")) << "chain 11 has no opening";
  EXPECT_EQ(Run(1, "B3"), NoChain("B3")) << "no chain of NULL, and the chain test needs the exact word";
  EXPECT_EQ(Run(0, "B1"), "OK") << "user code 0 is looked up like any other";
}

TEST_F(VelZidBolTest, LogQueryErrorsBecomeResultTexts) {
  AddDeliveryNote("B1");
  ExecSql(archive, "DROP TABLE BRONTELLOG");
  ExecSql(archive, "CREATE TABLE BRONTELLOG (ID BIGINT, DATOINPUT VARCHAR(256), USER_AUTENTICAZ INTEGER)");
  ExecSql(archive, "INSERT INTO BRONTELLOG VALUES (1, 'B1', 1)");
  std::string result = Run(1, "B1");
  EXPECT_EQ(result.rfind("ERR - Errore durante la verifica in BRONTELLOG: ", 0), 0u) << result;
  EXPECT_NE(result.find("ID_CATENA"), std::string::npos) << result;

  ExecSql(archive, "DROP TABLE BRONTELLOG");
  ExecSql(archive, "CREATE TABLE BRONTELLOG (ID BIGINT, ID_CATENA BIGINT, DATOINPUT VARCHAR(256))");
  result = Run(1, "B1");
  EXPECT_EQ(result.rfind("ERR - Errore durante la verifica apertura in BRONTELLOG: ", 0), 0u) << result;
  EXPECT_NE(result.find("USER_AUTENTICAZ"), std::string::npos) << result;
}

TEST_F(VelZidBolTest, ErrorsOutsideTheCheckedStepsEscape) {
  ExecSql(archive, "DROP TABLE TABX");
  EXPECT_THROW(Run(1, "B1"), db::DatabaseError);
  db::Connection closed;
  EXPECT_THROW(EseguiValidazPers(closed, "VelZidBol", 1, "B1"), db::DatabaseError);
  EXPECT_EQ(EseguiValidazPers(closed, "Altro", 1, "B1"), "ERR Funzione non esistente");
}

TEST_F(VelZidBolTest, DatumIsUsedAndQuotedExactlyAsTyped) {
  const std::string odd = " A'B %s Ωж ";
  AddDeliveryNote(odd);
  EXPECT_EQ(Run(1, odd), NoChain(odd));
  Log(4, 40, "APERTURA");
  Log(4, 40, odd);
  EXPECT_EQ(Run(1, odd), "OK");
  EXPECT_EQ(Run(1, "A'B %s Ωж"), NotFound("A'B %s Ωж"));
  EXPECT_EQ(Run(1, "%s%d%n"), NotFound("%s%d%n"));
  const std::string long300(300, 'x');
  EXPECT_EQ(Run(1, long300).rfind("ERR - Errore durante la verifica nel database RUX: ", 0), 0u);
}

TEST_F(VelZidBolTest, RunsLeaveNoTransactionOrAttachmentBehind) {
  AddDeliveryNote("B1");
  Log(1, 1, "APERTURA");
  Log(1, 1, "B1");
  Log(1, 2, "altro");
  for (int i = 0; i < 100; ++i) {
    ASSERT_EQ(Run(1, i % 2 ? "B1" : "NO"), i % 2 ? "OK" : NotFound("NO"));
  }
  EXPECT_EQ(QueryText(archive, "SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "1")
      << "only the query's own transaction";
  db::Connection rux;
  OpenIBDatabase(rux, ruxFile.Path());
  EXPECT_EQ(QueryText(rux, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0"), "1");
}

}  // namespace
}  // namespace brontelx
