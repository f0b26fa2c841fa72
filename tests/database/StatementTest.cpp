#include <gtest/gtest.h>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/ParamScanner.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

class StatementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenIBDatabase(connection, database.Path());
    ExecSql(connection, "CREATE TABLE T (ID INTEGER, NOME VARCHAR(40), NOTE BLOB SUB_TYPE TEXT, N NUMERIC(9,2))");
  }

  testing::TestDatabase database{schema::Kind::Archive};
  db::Connection connection;
};

TEST_F(StatementTest, PreparedOnceAndReusedAcrossTransactions) {
  db::Transaction transaction(&connection);
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO T (ID, NOME)", "VALUES (:ID, :NOME)"});
  const auto before = db::Statement::PrepareCount();
  for (int i = 1; i <= 3; ++i) {
    transaction.StartTransaction();
    insert.ParamByName("ID").SetInt(i);
    insert.ParamByName("nome").SetString("riga " + std::to_string(i));
    insert.ExecQuery();
    transaction.Commit();
  }
  EXPECT_EQ(db::Statement::PrepareCount() - before, 1u);
  EXPECT_EQ(QueryText(connection, "SELECT LIST(NOME, '|') FROM (SELECT NOME FROM T ORDER BY ID)"),
            "riga 1|riga 2|riga 3");
}

TEST_F(StatementTest, RepeatedNameIsBoundAtEveryPlace) {
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO T (ID, NOME) SELECT :V, CAST(:V AS VARCHAR(10)) || '-' || :V FROM RDB$DATABASE"});
  EXPECT_EQ(insert.ParamCount(), 1u);
  insert.ParamByName("V").SetInt(7);
  insert.ExecQuery();
  transaction.Commit();
  EXPECT_EQ(QueryText(connection, "SELECT ID || ':' || NOME FROM T"), "7:7-7");
}

TEST_F(StatementTest, NamesInsideLiteralsAndCommentsAreLeftAlone) {
  const db::ScannedSql scanned = db::ScanParams(
      "SELECT ':A', \":B\", 'it''s :C' -- :D\n/* :E */ FROM X WHERE Y=:F AND Z=:G_1$ AND W='x'':H'");
  EXPECT_EQ(scanned.markerNames, (std::vector<std::string>{"F", "G_1$"}));
  EXPECT_EQ(scanned.sql,
            "SELECT ':A', \":B\", 'it''s :C' -- :D\n/* :E */ FROM X WHERE Y=? AND Z=? AND W='x'':H'");

  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement query(&connection, &transaction);
  query.SetSQL({"SELECT ':X' || '--:Y' AS \":Z\" -- :W", "FROM RDB$DATABASE /* :V */ WHERE 1 = :ONE"});
  query.ParamByName("ONE").SetInt(1);
  query.ExecQuery();
  EXPECT_EQ(query.FieldByName(":Z").AsString(), ":X--:Y");
}

TEST_F(StatementTest, ExecuteBlockWithLineCommentsRunsWithScanningOff) {
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement block(&connection, &transaction);
  block.SetParamCheck(false);
  block.SetSQL({"EXECUTE BLOCK", "AS", "  DECLARE VARIABLE I Integer = 0;", "BEGIN",
                "  WHILE (:I < 3) DO  -- loop :I", "  BEGIN", "    I = :I + 1;",
                "    INSERT INTO T (ID, NOME) VALUES (:I, 'x');", "  END--WHILE", "END--BLOCK"});
  block.ExecQuery();
  transaction.Commit();
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM T"), "3");
}

TEST_F(StatementTest, ColumnsByNameAndPositionAndNullsAsEmpty) {
  ExecSql(connection, "INSERT INTO T (ID, NOME, N) VALUES (1, NULL, -12.05)");
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement query(&connection, &transaction);
  query.SetSQL({"SELECT ID, NOME, NOTE, N, ID AS ALIAS, CAST(NULL AS INTEGER) AS NI FROM T"});
  query.ExecQuery();
  ASSERT_FALSE(query.Eof());
  EXPECT_EQ(query.FieldAt(0).AsInteger(), 1);
  EXPECT_EQ(query.FieldByName("alias").AsString(), "1");
  EXPECT_TRUE(query.FieldByName("NOME").IsNull());
  EXPECT_EQ(query.FieldByName("NOME").AsString(), "");
  EXPECT_EQ(query.FieldByName("NOTE").AsString(), "");
  EXPECT_EQ(query.FieldByName("NI").AsInteger(), 0);
  EXPECT_EQ(query.FieldByName("N").AsString(), "-12.05");
  EXPECT_THROW(query.FieldByName("MISSING"), db::DatabaseError);
  query.Next();
  EXPECT_TRUE(query.Eof());
}

TEST_F(StatementTest, TextBlobsRoundTrip) {
  std::string memo;
  for (int i = 0; memo.size() < 200000; ++i) memo += "riga " + std::to_string(i) + " Città €\n";
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO T (ID, NOTE) VALUES (1, :NOTE)"});
  insert.ParamByName("NOTE").SetString(memo);
  insert.ExecQuery();
  transaction.Commit();
  EXPECT_EQ(QueryText(connection, "SELECT NOTE FROM T"), memo);
}

TEST_F(StatementTest, SqlErrorsCarryTheServerText) {
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement query(&connection, &transaction);
  query.SetSQL({"SELECT NOPE FROM T"});
  try {
    query.ExecQuery();
    FAIL() << "no error";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("Column unknown"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("NOPE"), std::string::npos) << e.what();
    EXPECT_EQ(e.IscCode(), isc_dsql_error);
  }
  query.SetSQL({"SELECT ID FROM T WHERE ID = :ID"});
  EXPECT_THROW(query.ParamByName("OTHER"), db::DatabaseError);
  query.ParamByName("ID").SetString("not a number");
  EXPECT_THROW(query.ExecQuery(), db::DatabaseError);
  // The failures leave the transaction usable.
  query.ParamByName("ID").SetInt(1);
  query.ExecQuery();
  EXPECT_TRUE(query.Eof());
  transaction.Commit();
  db::Statement unbound(&connection, nullptr);
  unbound.SetSQL({"SELECT 1 FROM RDB$DATABASE"});
  EXPECT_THROW(unbound.ExecQuery(), db::DatabaseError);
}

TEST_F(StatementTest, ClosingTheConnectionEndsWhatDependsOnIt) {
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO T (ID) VALUES (1)"});
  insert.ExecQuery();
  db::Statement query(&connection, &transaction);
  query.SetSQL({"SELECT ID FROM T"});
  query.ExecQuery();
  connection.Close();
  EXPECT_FALSE(transaction.Active());
  EXPECT_FALSE(query.Open());
  EXPECT_FALSE(query.Prepared());
  // The open transaction was committed; the statements prepare again after a reopen.
  OpenIBDatabase(connection, database.Path());
  transaction.StartTransaction();
  query.ExecQuery();
  EXPECT_EQ(query.FieldAt(0).AsInteger(), 1);
  transaction.Commit();
}

}  // namespace
}  // namespace brontelx
