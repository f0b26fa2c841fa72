#include <gtest/gtest.h>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/TransactedStatement.h"
#include "forms/UpdateSQL.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

using Lines = std::vector<std::string>;

class UpdateSQLTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenIBDatabase(archive, archiveFile.Path());
    testing::ExecSql(archive, "ALTER TABLE STOPOS1 DROP NOTE");
  }

  // PreparaUpdateSQL on the row query of situation 1, user 15, project 541.
  TUpdateSQL Prepare(const std::string& tipo, const std::string& table = "STOPOS1") {
    db::TransactedStatement sql(archive, {}, db::TransactedStatement::End::Rollback, false);
    sql.Query().SetSQL({"SELECT * FROM \"" + table + "\"", "WHERE (CodiceSituazione=1)", "AND (CodiceUtente=15)",
                        "AND (CodiceProgetto=541)"});
    TUpdateSQL update{{"modifica"}, {"inserimento"}};
    try {
      PreparaUpdateSQL(sql.Query(), "STOPOS1", tipo, update);
    } catch (const db::DatabaseError&) {
      EXPECT_EQ(update.ModifySQL, Lines{"modifica"});
      EXPECT_EQ(update.InsertSQL, Lines{"inserimento"});
      throw;
    }
    sql.Finish();
    return update;
  }

  testing::TestDatabase archiveFile{schema::Kind::Archive};
  db::Connection archive;
};

TEST_F(UpdateSQLTest, DerivesBothStatementsFromTheColumns) {
  const TUpdateSQL update = Prepare("update");
  EXPECT_EQ(update.ModifySQL,
            (Lines{"UPDATE \"STOPOS1\"", "SET", "CODICESITUAZIONE=:CODICESITUAZIONE,", "CODICEUTENTE=:CODICEUTENTE,",
                   "CODICEPROGETTO=:CODICEPROGETTO,", "POSX=:POSX,", "POSY=:POSY,", "DIMX=:DIMX,", "DIMY=:DIMY"}));
  EXPECT_EQ(update.InsertSQL, Lines{"inserimento"});

  EXPECT_EQ(Prepare("Insert").InsertSQL,
            (Lines{"INSERT INTO \"STOPOS1\"", "(", "CODICESITUAZIONE,", "CODICEUTENTE,", "CODICEPROGETTO,", "POSX,",
                   "POSY,", "DIMX,", "DIMY", ")", "VALUES", "(", ":CODICESITUAZIONE,", ":CODICEUTENTE,",
                   ":CODICEPROGETTO,", ":POSX,", ":POSY,", ":DIMX,", ":DIMY", ")"}));
}

TEST_F(UpdateSQLTest, OtherKindsAndFailuresChangeNothing) {
  const TUpdateSQL update = Prepare("DELETE");
  EXPECT_EQ(update.ModifySQL, Lines{"modifica"});
  EXPECT_EQ(update.InsertSQL, Lines{"inserimento"});
  EXPECT_EQ(Prepare(" UPDATE").ModifySQL, Lines{"modifica"});
  EXPECT_THROW(Prepare("UPDATE", "ASSENTE"), db::DatabaseError);
}

}  // namespace
}  // namespace brontelx
