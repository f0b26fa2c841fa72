#include <gtest/gtest.h>

#include <fstream>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "tests/support/Isql.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

const std::string kText = "Città àèìòù €";

void WriteRow(db::Connection& connection, int id, const std::string& value) {
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO T (ID, V, C, M) VALUES (:ID, :V, CAST(:V AS VARCHAR(40)), :V)"});
  insert.ParamByName("ID").SetInt(id);
  insert.ParamByName("V").SetString(value);
  insert.ExecQuery();
  transaction.Commit();
}

// Text in databases of each default character set, through the embedded engine and through the
// loopback server: parameters, casts without a character set, blobs and literals round-trip; what
// the server quotes in its messages (a key value) reads as the same text.
void RoundTrip(const std::string& charset, bool remote) {
  testing::TestDatabase database(schema::Kind::Archive, charset);
  {
    db::Connection connection;
    OpenIBDatabase(connection, remote ? testing::RemoteName(database.Path()) : database.Path());
    ExecSql(connection, "CREATE TABLE T (ID INTEGER, V VARCHAR(40), C VARCHAR(40), M BLOB SUB_TYPE TEXT)");
    ExecSql(connection, "CREATE TABLE K (V VARCHAR(40) NOT NULL PRIMARY KEY)");
    WriteRow(connection, 1, kText);
    EXPECT_EQ(QueryText(connection, "SELECT V FROM T"), kText);
    EXPECT_EQ(QueryText(connection, "SELECT C FROM T"), kText);
    EXPECT_EQ(QueryText(connection, "SELECT M FROM T"), kText);
    // A literal in the statement text compared with the column finds the row.
    EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM T WHERE V = '" + kText + "'"), "1");
    ExecSql(connection, "INSERT INTO K VALUES ('" + kText + "')");
    try {
      ExecSql(connection, "INSERT INTO K VALUES ('" + kText + "')");
      ADD_FAILURE() << "stored twice";
    } catch (const db::DatabaseError& e) {
      EXPECT_NE(std::string(e.what()).find("Problematic key value is (\"V\" = '" + kText + "')"), std::string::npos)
          << e.what();
    }
  }
  if (charset != "NONE") {
    // Another program reading with a UTF-8 connection sees the same characters.
    const std::string shown = testing::RunIsql(database.Path(), "SELECT V, C FROM T;");
    EXPECT_NE(shown.find(kText), std::string::npos) << shown;
  }
}

class CharsetTest : public ::testing::TestWithParam<const char*> {};
class CharsetServerTest : public ::testing::TestWithParam<const char*> {};

TEST_P(CharsetTest, TextRoundTripsAndIsStoredAsText) { RoundTrip(GetParam(), false); }

TEST_P(CharsetServerTest, TextRoundTripsAndIsStoredAsText) {
  BRONTELX_REQUIRE_LOOPBACK_SERVER();
  RoundTrip(GetParam(), true);
}

INSTANTIATE_TEST_SUITE_P(DefaultCharsets, CharsetTest, ::testing::Values("UTF8", "WIN1252", "NONE"));
INSTANTIATE_TEST_SUITE_P(DefaultCharsets, CharsetServerTest, ::testing::Values("UTF8", "WIN1252", "NONE"));

TEST(CharsetNoneTest, Windows1252BytesWrittenByAnotherProgramReadBack) {
  testing::TestDatabase database(schema::Kind::Archive, "NONE");
  // "Città €" in Windows-1252, sent by a connection without character set, as the Windows
  // programs of the product store it.
  const std::string script = "CREATE TABLE T (V VARCHAR(40));\nCOMMIT;\nINSERT INTO T VALUES ('Citt\xE0 \x80');\nCOMMIT;\n";
  const std::string output = testing::RunIsql(database.Path(), script, "NONE");
  db::Connection connection;
  OpenIBDatabase(connection, database.Path());
  EXPECT_EQ(QueryText(connection, "SELECT V FROM T"), "Città €") << output;
}

TEST(CharsetLimitTest, CharacterTheColumnCannotHoldFails) {
  testing::TestDatabase database(schema::Kind::Archive, "WIN1252");
  db::Connection connection;
  OpenIBDatabase(connection, database.Path());
  ExecSql(connection, "CREATE TABLE T (ID INTEGER, V VARCHAR(40), C VARCHAR(40), M BLOB SUB_TYPE TEXT)");
  ExecSql(connection, "CREATE TABLE N (V VARCHAR(40) CHARACTER SET NONE)");
  try {
    WriteRow(connection, 1, "Łódź 漢");
    FAIL() << "stored";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("Cannot transliterate character between character sets"),
              std::string::npos)
        << e.what();
  }
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO N (V) VALUES (:V)"});
  insert.ParamByName("V").SetString("漢");
  EXPECT_THROW(insert.ExecQuery(), db::DatabaseError);
  transaction.Commit();
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM T"), "0");
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM N"), "0");
}

}  // namespace
}  // namespace brontelx
