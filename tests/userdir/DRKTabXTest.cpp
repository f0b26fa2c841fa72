#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKTabX.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

class DRKTabXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenIBDatabase(archive, database.Path());
    OpenIBDatabase(observer, database.Path());
    tabX.SetDatabase(&archive);
  }

  std::string Rows() {
    return QueryText(observer,
                     "SELECT LIST(NOME || '/' || COALESCE(UTENTE, 'NULL') || '/' || COALESCE(TESTO, 'NULL') || '/' || "
                     "COALESCE(MEMO, 'NULL'), ';') FROM (SELECT * FROM TABX ORDER BY CODICE)");
  }

  testing::TestDatabase database{schema::Kind::Archive};
  db::Connection archive;
  db::Connection observer;
  TDRKTabX tabX;
};

TEST_F(DRKTabXTest, SharedAndOwnValuesAreSeparateRows) {
  EXPECT_EQ(tabX.GetParametroTesto("N", 0), "");
  EXPECT_EQ(tabX.GetParametroTesto("N", 7), "");
  tabX.SetParametroTesto("N", "primo", 0);
  tabX.SetParametroTesto("N", "secondo", 0);
  tabX.SetParametroTesto("N", "di sette", 7);
  EXPECT_EQ(Rows(), "N/NULL/secondo/NULL;N/7/di sette/NULL");
  EXPECT_EQ(tabX.GetParametroTesto("N", 0), "secondo");
  EXPECT_EQ(tabX.GetParametroTesto("N", 7), "di sette");
  EXPECT_EQ(tabX.GetParametroTesto("N", 8), "");
  EXPECT_EQ(QueryText(observer, "SELECT GEN_ID(CODICETABXCOUNTER, 0) FROM RDB$DATABASE"), "2");
}

TEST_F(DRKTabXTest, TextAndMemoShareOneRow) {
  tabX.SetParametroTesto("M", "testo", 3);
  EXPECT_EQ(tabX.GetParametroMemo("M", 3), "");
  tabX.SetParametroMemo("M", "nota", 3);
  EXPECT_EQ(Rows(), "M/3/testo/nota");
  EXPECT_EQ(tabX.GetParametroTesto("M", 3), "testo");
  EXPECT_EQ(tabX.GetParametroMemo("M", 3), "nota");

  std::string memo;
  while (memo.size() < 100000) memo += "Perché l'àncora è lì? € ";
  memo.resize(100000);
  tabX.SetParametroMemo("M", memo, 3);
  tabX.SetParametroTesto("M", "It's 'quoted' Città", 3);
  EXPECT_EQ(tabX.GetParametroMemo("M", 3), memo);
  EXPECT_EQ(tabX.GetParametroTesto("M", 3), "It's 'quoted' Città");
}

TEST_F(DRKTabXTest, BatchesShareOneTransaction) {
  tabX.BeginUpdate();
  tabX.SetParametroTesto("A", "uno", 0);
  EXPECT_EQ(tabX.GetParametroTesto("A", 0), "uno");
  EXPECT_EQ(Rows(), "") << "the batch is not committed yet";
  tabX.BeginUpdate();
  tabX.SetParametroTesto("B", "due", 0);
  tabX.EndUpdate();
  EXPECT_EQ(Rows(), "") << "only the outermost EndUpdate commits";
  // A failed write inside the batch does not undo the earlier ones.
  EXPECT_THROW(tabX.SetParametroTesto(std::string(65, 'x'), "tre", 0), db::DatabaseError);
  tabX.EndUpdate();
  EXPECT_EQ(Rows(), "A/NULL/uno/NULL;B/NULL/due/NULL");
  // An EndUpdate without a batch changes nothing, and the object goes on working.
  tabX.EndUpdate();
  tabX.SetParametroTesto("A", "uno bis", 0);
  EXPECT_EQ(QueryText(observer, "SELECT TESTO FROM TABX WHERE NOME = 'A'"), "uno bis");
  EXPECT_EQ(QueryText(archive, "SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "1");
}

TEST_F(DRKTabXTest, OverlongNameStoresNothing) {
  try {
    tabX.SetParametroTesto(std::string(65, 'N'), "valore", 0);
    FAIL() << "stored";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("string right truncation"), std::string::npos) << e.what();
  }
  tabX.SetParametroTesto(std::string(64, 'N'), "valore", 0);
  EXPECT_EQ(QueryText(observer, "SELECT COUNT(*) || ':' || MAX(CHAR_LENGTH(NOME)) FROM TABX"), "1:64");
}

TEST_F(DRKTabXTest, RowHeldByAnotherWriteFailsTheSave) {
  tabX.SetParametroTesto("L", "prima", 0);
  db::Transaction lock(&observer);
  lock.StartTransaction();
  db::Statement hold(&observer, &lock);
  hold.SetSQL({"UPDATE TABX SET TESTO = 'altro' WHERE NOME = 'L'"});
  hold.ExecQuery();
  try {
    tabX.SetParametroTesto("L", "dopo", 0);
    FAIL() << "written";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("update conflicts with concurrent update"), std::string::npos) << e.what();
  }
  lock.Rollback();
  tabX.SetParametroTesto("L", "dopo", 0);
  EXPECT_EQ(tabX.GetParametroTesto("L", 0), "dopo");
}

TEST_F(DRKTabXTest, SaveMeetingAnotherHostsSaveWritesAfterIt) {
  tabX.SetParametroTesto("S", "prima", 0);
  db::Transaction other(&observer);
  other.Params() = {"concurrency", "nowait"};
  other.StartTransaction();
  db::Statement write(&observer, &other);
  write.SetSQL({"UPDATE TABX SET TESTO = 'altro' WHERE NOME = 'S'"});
  write.ExecQuery();
  // The other host's save ends while this one's runs: the later write wins, with no error.
  std::thread commit([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    other.Commit();
  });
  EXPECT_NO_THROW(tabX.SetParametroTesto("S", "dopo", 0));
  commit.join();
  EXPECT_EQ(QueryText(observer, "SELECT TESTO FROM TABX WHERE NOME = 'S'"), "dopo");
}

TEST_F(DRKTabXTest, StatementsArePreparedOnceForTheObjectsLife) {
  tabX.SetParametroTesto("R", "valore", 0);
  const auto before = db::Statement::PrepareCount();
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(tabX.GetParametroTesto("R", 0), "valore");
  EXPECT_EQ(db::Statement::PrepareCount() - before, 1u);
}

TEST_F(DRKTabXTest, FailedStartLeavesNoBatchOpen) {
  db::Connection closed;
  TDRKTabX unconnected;
  unconnected.SetDatabase(&closed);
  EXPECT_THROW(unconnected.GetParametroTesto("N", 0), db::DatabaseError);
  EXPECT_THROW(unconnected.SetParametroTesto("N", "v", 0), db::DatabaseError);
  // Once the database is open, single calls run and commit on their own again.
  OpenIBDatabase(closed, database.Path());
  unconnected.SetParametroTesto("N", "v", 0);
  EXPECT_EQ(QueryText(observer, "SELECT TESTO FROM TABX WHERE NOME = 'N'"), "v");
}

// Names and values with characters beyond ASCII, in databases of several default character sets:
// the name travels through CAST(... AS VARCHAR(64)), whose type has no character set of its own.
class DRKTabXCharsetTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(DRKTabXCharsetTest, NamesAndValuesKeepTheirCharacters) {
  const auto [charset, text] = GetParam();
  testing::TestDatabase database(schema::Kind::Archive, charset);
  db::Connection archive;
  OpenIBDatabase(archive, database.Path());
  TDRKTabX tabX;
  tabX.SetDatabase(&archive);
  tabX.SetParametroTesto(text, "primo", 0);
  tabX.SetParametroTesto(text, std::string(text) + " secondo", 0);
  tabX.SetParametroMemo(text, std::string(text) + " memo", 0);
  EXPECT_EQ(QueryText(archive, "SELECT COUNT(*) FROM TABX"), "1");
  EXPECT_EQ(tabX.GetParametroTesto(text, 0), std::string(text) + " secondo");
  EXPECT_EQ(tabX.GetParametroMemo(text, 0), std::string(text) + " memo");
}

INSTANTIATE_TEST_SUITE_P(
    DefaultCharsets, DRKTabXCharsetTest,
    ::testing::Values(std::pair{"UTF8", "Perché l'àncora € Ωж"}, std::pair{"WIN1252", "Perché l'àncora €"},
                      std::pair{"NONE", "Perché l'àncora €"}, std::pair{"ISO8859_2", "Šťastný Łódź"},
                      std::pair{"WIN1250", "Šťastný Łódź €"}));

}  // namespace
}  // namespace brontelx
