#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "base/Error.h"
#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "database/Transaction.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKUser.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

class DRKUserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db::Connection setup;
    OpenIBDatabase(setup, database.Path());
    ExecSql(setup,
            "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA) "
            "VALUES (5, 'Mario Rossi', 'ALFA SRL', 'Segreta', 'nota', 3)");
    ExecSql(setup, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (6, 'Anna', 'BETA')");
    ExecSql(setup, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                   "VALUES (5, 'ALFA SRL', 'Archivio', 'a.fdb', 1)");
    ExecSql(setup, "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE) VALUES (11, 'Collaudo')");
    user.ConnettiDB(database.Path());
  }

  // Transactions open on the user's connection, apart from the one asking.
  std::string OtherTransactions() {
    return QueryText(user.DBUser(), "SELECT COUNT(*) - 1 FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION");
  }

  testing::TestDatabase database{schema::Kind::UserDirectory};
  TDRKUser user;
};

TEST_F(DRKUserTest, LoadsAUserAndKeepsThePreviousOneWhenMissing) {
  try {
    user.SetCodiceUtente(7);
    FAIL() << "loaded";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Utente 7 non trovato");
  }
  EXPECT_EQ(user.CodiceUtente(), 0);
  user.SetCodiceUtente(5);
  EXPECT_EQ(user.CodiceUtente(), 5);
  EXPECT_EQ(user.NomeUtente(), "Mario Rossi");
  EXPECT_EQ(user.DittaUtente(), "ALFA SRL");
  EXPECT_EQ(user.Info2(), "nota");
  EXPECT_EQ(user.ProfiloSicurezza(), 3);
  EXPECT_THROW(user.SetCodiceUtente(-42), Error);
  EXPECT_EQ(user.NomeUtente(), "Mario Rossi");
  user.SetCodiceUtente(6);
  EXPECT_EQ(user.Info2(), "");
  EXPECT_EQ(user.ProfiloSicurezza(), 0);
  EXPECT_EQ(OtherTransactions(), "0");
}

TEST_F(DRKUserTest, PasswordIsComparedExactly) {
  user.SetCodiceUtente(5);
  EXPECT_NO_THROW(user.CheckPassword("Segreta"));
  for (const char* wrong : {"segreta", "Segreta ", "", "Segret"}) {
    try {
      user.CheckPassword(wrong);
      FAIL() << wrong;
    } catch (const Error& e) {
      EXPECT_STREQ(e.what(), "Password errata");
    }
  }
  user.SetCodiceUtente(6);
  EXPECT_NO_THROW(user.CheckPassword(""));
}

TEST_F(DRKUserTest, CompanyCheckLooksAtParameterRowsOnly) {
  EXPECT_NO_THROW(user.CheckUtenteDitta(5, "ALFA SRL"));
  try {
    user.CheckUtenteDitta(5, "B");
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Ditta \"B\" non trovata nell'utente 5");
  }
  for (int code : {6, 9}) {
    try {
      user.CheckUtenteDitta(code, "ALFA SRL");
      FAIL();
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Utente " + std::to_string(code) + " non trovato");
    }
  }
  EXPECT_EQ(OtherTransactions(), "0");
}

TEST_F(DRKUserTest, WindowHandleIsWrittenUnsigned) {
  user.ScritturaHandleDiApertura(11, 3000000000u);
  EXPECT_EQ(QueryText(user.DBUser(), "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = 11"), "3000000000");
  user.ScritturaHandleDiApertura(11, 77);
  user.ScritturaHandleDiApertura(12, 99);
  EXPECT_EQ(QueryText(user.DBUser(), "SELECT LIST(IDFINESTRA || '=' || HANDLEFINESTRA) FROM TELVILOGFUNZ"), "11=77");
  EXPECT_EQ(OtherTransactions(), "0");

  // Another window writing the same row at the same moment: the write waits for it to end.
  db::Connection other;
  OpenIBDatabase(other, database.Path());
  db::Transaction writing(&other);
  writing.StartTransaction();
  db::Statement update(&other, &writing);
  update.SetSQL({"UPDATE TELVILOGFUNZ SET HANDLEFINESTRA = 5 WHERE IDFINESTRA = 11"});
  update.ExecQuery();
  std::thread commitSoon([&writing] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    writing.Commit();
  });
  EXPECT_NO_THROW(user.ScritturaHandleDiApertura(11, 88));
  commitSoon.join();
  EXPECT_EQ(QueryText(user.DBUser(), "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = 11"), "88");
}

TEST_F(DRKUserTest, StandardPlaceIsBesideTheRunningExecutable) {
  const auto exeFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  testing::TestDatabase beside(schema::Kind::UserDirectory, "UTF8", exeFolder / "user", "user.fdb");
  TDRKUser standard;
  standard.ConnettiDB();
  EXPECT_EQ(standard.DBUser().DatabaseName(), (exeFolder / "user" / "user.fdb").string());
  EXPECT_EQ(QueryText(standard.DBUser(), "SELECT MON$DATABASE_NAME FROM MON$DATABASE"), beside.Path());
}

}  // namespace
}  // namespace brontelx
