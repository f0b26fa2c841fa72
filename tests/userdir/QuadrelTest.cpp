#include <gtest/gtest.h>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "database/TransactedStatement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKUser.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

class QuadrelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenIBDatabase(observer, database.Path());
    ExecSql(observer, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (5, 'Mario', 'ALFA')");
    ExecSql(observer, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (6, 'Anna', 'ALFA')");
    user.ConnettiDB(database.Path());
    user.SetCodiceUtente(5);
  }

  // The block of user 5, with "<NULL>" for a NULL block.
  std::string Block() {
    return QueryText(observer, "SELECT COALESCE(QUADREL, '<NULL>') FROM UTENTI WHERE CODICE = 5");
  }
  // Transactions open on the user's connection, apart from the one asking.
  std::string OtherTransactions() {
    return QueryText(user.DBUser(),
                     "SELECT COUNT(*) - 1 FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  }
  std::string Rows() {
    return QueryText(observer,
                     "SELECT LIST(PROGRESSIVO || ':' || INTESTAZIONE || ':' || PARAMETRO || '=' || COALESCE(VALORE, "
                     "'NULL'), ' ') FROM (SELECT * FROM TABQUADREL WHERE UTENTE = 5 ORDER BY PROGRESSIVO)");
  }

  testing::TestDatabase database{schema::Kind::UserDirectory};
  db::Connection observer;
  TDRKUser user;
};

TEST_F(QuadrelTest, BlockListsSectionsAscendingAndParametersInWritingOrder) {
  user.SetDittaUtente("BETA");
  user.SetParamQuadrel("Archivio", "");
  EXPECT_EQ(Block(), "[BETA]\nArchivio=\n");
  user.SetDittaUtente("ALFA");
  user.SetParamQuadrel("Archivio", "C:\\Dati\\alfa.fdb");
  user.SetParamQuadrel("Directory bin", "C:\\Bin");
  ExecSql(observer, "UPDATE TABQUADREL SET VALORE = NULL WHERE INTESTAZIONE = 'BETA'");
  user.SetParamQuadrel("Archivio", "C:\\Dati\\alfa.fdb");  // rewrite: keeps its place
  EXPECT_EQ(Block(), "[ALFA]\nArchivio=C:\\Dati\\alfa.fdb\nDirectory bin=C:\\Bin\n[BETA]\nArchivio=\n");
  EXPECT_EQ(Rows(), "1:BETA:Archivio=NULL 2:ALFA:Archivio=C:\\Dati\\alfa.fdb 3:ALFA:Directory bin=C:\\Bin");

  user.SetParamQuadrel("Archivio", "nuovo");
  user.SetParamQuadrel("Zeta", "z");
  EXPECT_EQ(Block(), "[ALFA]\nArchivio=nuovo\nDirectory bin=C:\\Bin\nZeta=z\n[BETA]\nArchivio=\n");
  EXPECT_EQ(QueryText(observer, "SELECT PROGRESSIVO FROM TABQUADREL WHERE PARAMETRO = 'Zeta'"), "4");
  // Order numbers count per user.
  ExecSql(observer, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, PROGRESSIVO) VALUES (6, 'X', 'P', 50)");
  user.SetParamQuadrel("Ultimo", "u");
  EXPECT_EQ(QueryText(observer, "SELECT PROGRESSIVO FROM TABQUADREL WHERE PARAMETRO = 'Ultimo'"), "5");
}

TEST_F(QuadrelTest, ReadsUnderTheCurrentCompanyOnly) {
  user.SetParamQuadrel("Archivio", "alfa.fdb");
  user.SetDittaUtente("BETA");
  EXPECT_EQ(user.GetParamQuadrel("Archivio"), "");
  user.SetParamQuadrel("Archivio", "beta.fdb");
  EXPECT_EQ(user.GetParamQuadrel("Archivio"), "beta.fdb");
  user.SetDittaUtente("ALFA");
  EXPECT_EQ(user.GetParamQuadrel("Archivio"), "alfa.fdb");
  EXPECT_EQ(user.GetParamQuadrel("Mai scritto"), "");
  EXPECT_EQ(Block(), "[ALFA]\nArchivio=alfa.fdb\n[BETA]\nArchivio=beta.fdb\n");
}

TEST_F(QuadrelTest, ApostrophesAndAccentsRoundTrip) {
  user.SetDittaUtente("L'Àncora S.r.l.");
  user.SetParamQuadrel("Perché l'archivio", "D:\\Dati\\l'àncora €.fdb");
  EXPECT_EQ(user.GetParamQuadrel("Perché l'archivio"), "D:\\Dati\\l'àncora €.fdb");
  EXPECT_EQ(user.GetParamQuadrel("Perché l'archivio' OR ''='"), "");
  EXPECT_EQ(Block(), "[L'Àncora S.r.l.]\nPerché l'archivio=D:\\Dati\\l'àncora €.fdb\n");
}

TEST_F(QuadrelTest, RowsWithoutSectionOrNameStayOutOfTheBlock) {
  ExecSql(observer, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                    "VALUES (5, NULL, 'Senza', 'x', 1)");
  user.EndUpdate();
  EXPECT_EQ(Block(), "<NULL>");
  user.SetParamQuadrel("Archivio", "a.fdb");
  ExecSql(observer, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                    "VALUES (5, 'ALFA', NULL, 'y', 9)");
  ExecSql(observer, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                    "VALUES (5, 'GAMMA', NULL, 'y', 10)");
  user.SetParamQuadrel("Dopo", "d");
  EXPECT_EQ(Block(), "[ALFA]\nArchivio=a.fdb\nDopo=d\n");
}

TEST_F(QuadrelTest, BatchDefersTheRebuildToEndUpdate) {
  user.SetParamQuadrel("A", "1");
  user.BeginUpdate();
  user.SetParamQuadrel("B", "2");
  user.SetParamQuadrel("C", "3");
  user.SetParamQuadrel("A", "1 bis");
  EXPECT_EQ(Block(), "[ALFA]\nA=1\n");
  EXPECT_EQ(Rows(), "1:ALFA:A=1 bis 2:ALFA:B=2 3:ALFA:C=3");
  const auto before = db::Statement::PrepareCount();
  user.EndUpdate();
  EXPECT_EQ(db::Statement::PrepareCount() - before, 1u) << "one rebuild";
  EXPECT_EQ(Block(), "[ALFA]\nA=1 bis\nB=2\nC=3\n");
  ExecSql(observer, "UPDATE UTENTI SET QUADREL = 'vecchio' WHERE CODICE = 5");
  user.EndUpdate();
  EXPECT_EQ(Block(), "[ALFA]\nA=1 bis\nB=2\nC=3\n");
}

TEST_F(QuadrelTest, FailedWritesLeaveTheBlockAlone) {
  user.SetParamQuadrel("A", "1");
  EXPECT_THROW(user.SetParamQuadrel(std::string(65, 'N'), "x"), db::DatabaseError);
  EXPECT_EQ(Rows(), "1:ALFA:A=1");
  EXPECT_EQ(Block(), "[ALFA]\nA=1\n");

  // Stored, but too long for the block: the rebuild fails as a whole and reports it.
  try {
    user.SetParamQuadrel("Lungo", std::string(257, 'v'));
    FAIL() << "rebuilt";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("string right truncation"), std::string::npos) << e.what();
  }
  EXPECT_EQ(QueryText(observer, "SELECT CHAR_LENGTH(VALORE) FROM TABQUADREL WHERE PARAMETRO = 'Lungo'"), "257");
  EXPECT_EQ(Block(), "[ALFA]\nA=1\n");
  // The same failure from the rebuild at the end of a batch.
  user.BeginUpdate();
  user.SetParamQuadrel("A", "1 bis");
  EXPECT_THROW(user.EndUpdate(), db::DatabaseError);
  EXPECT_EQ(Block(), "[ALFA]\nA=1\n");
  EXPECT_EQ(user.GetParamQuadrel("A"), "1 bis");
  ExecSql(observer, "DELETE FROM TABQUADREL WHERE PARAMETRO = 'Lungo'");
  // A company longer than the block's 64 characters is stored, and the rebuild refuses it.
  user.SetDittaUtente(std::string(65, 'D'));
  EXPECT_THROW(user.SetParamQuadrel("A", "lunga"), db::DatabaseError);
  EXPECT_EQ(Block(), "[ALFA]\nA=1\n");
  user.SetDittaUtente("ALFA");
  ExecSql(observer, "DELETE FROM TABQUADREL WHERE CHAR_LENGTH(INTESTAZIONE) > 64");

  db::Transaction lock(&observer);
  lock.StartTransaction();
  db::Statement hold(&observer, &lock);
  hold.SetSQL({"UPDATE TABQUADREL SET VALORE = 'bloccato' WHERE PARAMETRO = 'A'"});
  hold.ExecQuery();
  try {
    user.SetParamQuadrel("A", "2");
    FAIL() << "written";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("update conflicts with concurrent update"), std::string::npos) << e.what();
  }
  lock.Rollback();
  EXPECT_EQ(user.GetParamQuadrel("A"), "1 bis");
  EXPECT_EQ(OtherTransactions(), "0");
}

// The company and the name must find their row in user directories of other default character sets
// too.
class QuadrelCharsetTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(QuadrelCharsetTest, CompanyNameAndValueKeepTheirCharacters) {
  const auto [charset, text] = GetParam();
  testing::TestDatabase database(schema::Kind::UserDirectory, charset);
  TDRKUser user;
  user.ConnettiDB(database.Path());
  ExecSql(user.DBUser(), "INSERT INTO UTENTI (CODICE) VALUES (1)");
  user.SetCodiceUtente(1);
  user.SetDittaUtente(std::string(text) + " S.r.l.");
  user.SetParamQuadrel(text, std::string(text) + " valore");
  EXPECT_EQ(user.GetParamQuadrel(text), std::string(text) + " valore");
  EXPECT_EQ(QueryText(user.DBUser(), "SELECT QUADREL FROM UTENTI"),
            "[" + std::string(text) + " S.r.l.]\n" + text + "=" + text + " valore\n");
}

// Columns declared with a character set of their own, unlike the database's default: the company and
// the name are compared in the columns' character set.
TEST(QuadrelColumnCharsetTest, ReadFindsRowsOfColumnsInAnotherCharacterSet) {
  testing::TestDatabase database(schema::Kind::UserDirectory, "NONE");
  TDRKUser user;
  user.ConnettiDB(database.Path());
  ExecSql(user.DBUser(), "DROP TABLE TABQUADREL");
  ExecSql(user.DBUser(),
          "CREATE TABLE TABQUADREL (UTENTE INTEGER NOT NULL, INTESTAZIONE VARCHAR(100) CHARACTER SET UTF8, "
          "PARAMETRO VARCHAR(64) CHARACTER SET UTF8, VALORE VARCHAR(1000) CHARACTER SET UTF8, PROGRESSIVO INTEGER)");
  ExecSql(user.DBUser(), "INSERT INTO UTENTI (CODICE) VALUES (1)");
  db::TransactedStatement insert(user.DBUser(), {}, db::TransactedStatement::End::Commit, true);
  insert.Query().SetSQL({"INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO)",
                         "VALUES (1, :INTESTAZIONE, :PARAMETRO, :VALORE, 1)"});
  insert.Query().ParamByName("INTESTAZIONE").SetString("Città S.r.l.");
  insert.Query().ParamByName("PARAMETRO").SetString("Perché € Ωж");
  insert.Query().ParamByName("VALORE").SetString("sì");
  insert.Query().ExecQuery();
  insert.Finish();
  user.SetCodiceUtente(1);
  user.SetDittaUtente("Città S.r.l.");
  EXPECT_EQ(user.GetParamQuadrel("Perché € Ωж"), "sì");
  EXPECT_EQ(user.GetParamQuadrel("Perche € Ωж"), "");
}

INSTANTIATE_TEST_SUITE_P(
    DefaultCharsets, QuadrelCharsetTest,
    ::testing::Values(std::pair{"UTF8", "L'àncora € Ωж"}, std::pair{"WIN1252", "L'àncora €"},
                      std::pair{"NONE", "L'àncora €"}, std::pair{"WIN1250", "Łódź Šťastný"}));

}  // namespace
}  // namespace brontelx
