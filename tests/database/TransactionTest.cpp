#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryText;

const char* const kShape =
    "SELECT MON$ISOLATION_MODE || ':' || MON$LOCK_TIMEOUT || ':' || MON$READ_ONLY FROM MON$TRANSACTIONS "
    "WHERE MON$TRANSACTION_ID = CURRENT_TRANSACTION";

class TransactionTest : public ::testing::Test {
 protected:
  void SetUp() override { OpenIBDatabase(connection, database.Path()); }

  // Isolation (1 concurrency, 2 read committed), lock timeout (-1 waits, 0 nowait) and read-only
  // flag of a transaction started with these lines, as the server reports them.
  std::string ShapeOf(std::vector<std::string> lines) {
    db::Transaction transaction(&connection);
    transaction.Params() = std::move(lines);
    transaction.StartTransaction();
    db::Statement query(&connection, &transaction);
    query.SetSQL({kShape});
    query.ExecQuery();
    return query.FieldAt(0).AsString();
  }

  std::string StartError(std::vector<std::string> lines) {
    db::Transaction transaction(&connection);
    transaction.Params() = std::move(lines);
    try {
      transaction.StartTransaction();
    } catch (const db::DatabaseError& e) {
      EXPECT_FALSE(transaction.Active());
      return e.what();
    }
    return "started";
  }

  testing::TestDatabase database{schema::Kind::Archive};
  db::Connection connection;
};

TEST_F(TransactionTest, ParameterLinesShapeTheTransaction) {
  EXPECT_EQ(ShapeOf({"wait", "lock_timeout=7"}), "1:7:0");
  EXPECT_EQ(ShapeOf({"ISC_TPB_READ_COMMITTED", "rec_version", "isc_tpb_nowait", "read"}), "2:0:1");
  EXPECT_EQ(ShapeOf({"isc_tpb_version3", "concurrency"}), "1:-1:0");
  EXPECT_EQ(ShapeOf({}), "1:-1:0");
  // Parameter items given as flags: items outside 1..20 are not sent.
  db::Transaction flagged(&connection);
  SetTransactionParams(flagged, MakeTPBFlags({0, 8, 15, 17, 7, 21, 31}));
  flagged.StartTransaction();
  db::Statement query(&connection, &flagged);
  query.SetSQL({kShape});
  query.ExecQuery();
  EXPECT_EQ(query.FieldAt(0).AsString(), "2:0:1");
}

TEST_F(TransactionTest, BadParameterLinesNameTheLine) {
  for (const char* timeout : {"lock_timeout=10abc", "lock_timeout=", "lock_timeout", "lock_timeout= 5",
                              "lock_timeout=99999999999"}) {
    EXPECT_EQ(StartError({"wait", timeout}), "Invalid transaction parameter \"" + std::string(timeout) + "\"");
  }
  EXPECT_EQ(StartError({"read_commited"}), "Unknown transaction parameter \"read_commited\"");
  EXPECT_EQ(StartError({"isc_tpb_"}), "Unknown transaction parameter \"isc_tpb_\"");
  EXPECT_EQ(StartError({"nowait=1"}), "Invalid transaction parameter \"nowait=1\"");
  // The server judges what the block means.
  EXPECT_NE(StartError({"read", "write"}).find("isc_tpb_write is not valid if isc_tpb_read"), std::string::npos);
  // A list fixed after a failure starts.
  db::Transaction transaction(&connection);
  transaction.Params() = {"lock_timeout=x"};
  EXPECT_THROW(transaction.StartTransaction(), db::DatabaseError);
  transaction.Params() = {"wait", "lock_timeout=3"};
  transaction.StartTransaction();
  EXPECT_TRUE(transaction.Active());
}

TEST_F(TransactionTest, FailedCommitLeavesTheTransactionToRollBack) {
  ExecSql(connection, "CREATE EXCEPTION NO_COMMIT 'commit refused'");
  ExecSql(connection,
          "CREATE TRIGGER REFUSE ON TRANSACTION COMMIT AS BEGIN "
          "IF (EXISTS (SELECT 1 FROM TABX WHERE NOME = 'rifiuta')) THEN EXCEPTION NO_COMMIT; END");
  db::Transaction transaction(&connection);
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO TABX (CODICE, NOME) VALUES (1, 'rifiuta')"});
  insert.ExecQuery();
  try {
    transaction.Commit();
    FAIL() << "committed";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("commit refused"), std::string::npos) << e.what();
  }
  ASSERT_TRUE(transaction.Active());
  transaction.Rollback();
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM TABX"), "0");
}

TEST_F(TransactionTest, TwoSessionsInOneProcessKeepTheirTransactionsApart) {
  db::Connection other;
  OpenIBDatabase(other, database.Path());
  db::Transaction first(&connection);
  db::Transaction second(&other);
  first.StartTransaction();
  second.StartTransaction();
  db::Statement write(&connection, &first);
  write.SetSQL({"INSERT INTO TABX (CODICE, NOME) VALUES (1, 'prima')"});
  write.ExecQuery();
  db::Statement count(&other, &second);
  count.SetSQL({"SELECT COUNT(*) FROM TABX"});
  count.ExecQuery();
  EXPECT_EQ(count.FieldAt(0).AsInteger(), 0) << "uncommitted work of the other session";
  first.Rollback();
  second.Commit();
  ExecSql(other, "INSERT INTO TABX (CODICE, NOME) VALUES (2, 'seconda')");
  EXPECT_EQ(QueryText(connection, "SELECT LIST(NOME) FROM TABX"), "seconda");
  EXPECT_NE(QueryText(connection, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE"),
            QueryText(other, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE"));
}

TEST_F(TransactionTest, ConnectionDestroyedBeforeItsStatementsAndTransactions) {
  auto early = std::make_unique<db::Connection>();
  OpenIBDatabase(*early, database.Path());
  db::Transaction transaction(early.get());
  transaction.StartTransaction();
  db::Statement insert(early.get(), &transaction);
  insert.SetSQL({"INSERT INTO TABX (CODICE, NOME) VALUES (:C, 'x')"});
  insert.ParamByName("C").SetInt(1);
  insert.ExecQuery();
  db::Statement query(early.get(), &transaction);
  query.SetSQL({"SELECT CODICE FROM TABX"});
  query.ExecQuery();
  early.reset();
  // The open transaction committed; what depended on the connection is let go and says so.
  EXPECT_FALSE(transaction.Active());
  EXPECT_EQ(transaction.DefaultDatabase(), nullptr);
  EXPECT_FALSE(query.Open());
  EXPECT_FALSE(query.Prepared());
  EXPECT_EQ(query.Database(), nullptr);
  EXPECT_THROW(query.ExecQuery(), db::DatabaseError);
  EXPECT_THROW(transaction.StartTransaction(), db::DatabaseError);
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM TABX"), "1");
  EXPECT_EQ(QueryText(connection, "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0"), "1");
}

}  // namespace
}  // namespace brontelx
