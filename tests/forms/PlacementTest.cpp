#include <gtest/gtest.h>

#include <string>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/TransactedStatement.h"
#include "session/BrontelX.Classes.h"
#include "tests/forms/TestForm.h"
#include "tests/support/FormsFixture.h"
#include "tests/support/Sql.h"

namespace brontelx {
namespace {

using testing::ExecSql;
using testing::QueryInt;
using testing::QueryText;
using testing::TestForm;

// A window of situation 2 on the session of user 15. A trigger counts the writes to STOPOS1.
class PlacementTest : public testing::FormsFixture {
 protected:
  void SetUp() override {
    FormsFixture::SetUp();
    ExecSql(archive, "CREATE GENERATOR SCRITTURE");
    ExecSql(archive,
            "CREATE TRIGGER CONTA_SCRITTURE FOR STOPOS1 AFTER INSERT OR UPDATE AS "
            "BEGIN RDB$SET_CONTEXT('USER_TRANSACTION', 'X', GEN_ID(SCRITTURE, 1)); END");
    session.Avvia(kUser);
    form = std::make_unique<TestForm>(&session);
    form->situazione = 2;
  }

  void TearDown() override {
    form.reset();
    FormsFixture::TearDown();
  }

  void InsertRow(std::int32_t situazione, const std::string& values) {
    ExecSql(archive, "INSERT INTO STOPOS1 (CodiceSituazione, CodiceUtente, CodiceProgetto, PosX, PosY, DimX, DimY) "
                     "VALUES (" + std::to_string(situazione) + ", 15, 541, " + values + ")");
  }

  std::int64_t Writes() { return QueryInt(archive, "SELECT GEN_ID(SCRITTURE, 0) FROM RDB$DATABASE"); }

  std::string Rows(const std::string& where = "CodiceSituazione = 2") {
    db::TransactedStatement sql(archive, {}, db::TransactedStatement::End::Rollback, false);
    sql.Query().SetSQL({"SELECT * FROM STOPOS1 WHERE " + where + " ORDER BY PosX"});
    std::string rows;
    for (sql.Query().ExecQuery(); !sql.Query().Eof(); sql.Query().Next()) {
      for (unsigned i = 0; i < sql.Query().FieldCount(); ++i) {
        const db::Field field = sql.Query().FieldAt(i);
        rows += (i ? "|" : "") + (field.IsNull() ? std::string("NULL") : field.AsString());
      }
      rows += "\n";
    }
    sql.Finish();
    return rows;
  }

  void CloseAt(const platform::Rect& frame) {
    form->Window().SetFrame(frame);
    form->Window().Close();
  }

  TSessione session;
  std::unique_ptr<TestForm> form;
};

TEST_F(PlacementTest, FirstCloseInsertsTheRowThenOnlyChangesAreWritten) {
  form->Show();
  const platform::Rect unchanged = form->Window().Frame();
  CloseAt({30, 40, 500, 350});
  EXPECT_EQ(Rows(), "2|15|541|30|40|500|350|NULL\n");
  EXPECT_EQ(Writes(), 1);

  form->Show();
  form->Window().Close();
  EXPECT_EQ(Writes(), 1);

  // The stored placement is applied when a new window is first shown.
  TestForm next(&session);
  next.situazione = 2;
  next.Show();
  EXPECT_EQ(next.Window().Frame(), (platform::Rect{30, 40, 500, 350}));
  EXPECT_NE(unchanged, next.Window().Frame());
}

TEST_F(PlacementTest, AMovedWindowUpdatesEveryRowOfItsCodes) {
  InsertRow(2, "10, 10, 300, 200");
  InsertRow(2, "20, 20, 300, 200");
  InsertRow(1, "10, 10, 300, 200");
  form->Show();
  CloseAt({5, 6, 310, 210});
  EXPECT_EQ(Rows(), "2|15|541|5|6|310|210|NULL\n2|15|541|5|6|310|210|NULL\n");
  EXPECT_EQ(Rows("CodiceSituazione = 1"), "1|15|541|10|10|300|200|NULL\n");
}

TEST_F(PlacementTest, ANullColumnReadsAsZero) {
  InsertRow(2, "NULL, 50, 400, 300");
  const std::int64_t writes = Writes();
  form->Show();
  EXPECT_EQ(form->Window().Frame(), (platform::Rect{0, 50, 400, 300}));
  form->Window().Close();
  EXPECT_EQ(Writes(), writes);
  form->Show();
  CloseAt({1, 50, 400, 300});
  EXPECT_EQ(Rows(), "2|15|541|1|50|400|300|NULL\n");
}

TEST_F(PlacementTest, FurtherColumnsKeepTheirValues) {
  ExecSql(archive,
          "ALTER TABLE STOPOS1 ADD TESTO VARCHAR(40), ADD GIORNO DATE, ADD ISTANTE TIMESTAMP, "
          "ADD IMPORTO NUMERIC(15,2), ADD REALE DOUBLE PRECISION, ADD CODICE CHAR(6), ADD VUOTO INTEGER");
  ExecSql(archive,
          "INSERT INTO STOPOS1 VALUES (2, 15, 541, 10, 10, 300, 200, 'nota', 'Città d''Italia €', '2024-02-29', "
          "'2024-02-29 23:59:58.1234', -12.75, 0.1, 'AB', NULL)");
  const std::string before = Rows();
  form->Show();
  CloseAt({11, 12, 313, 214});
  EXPECT_EQ(Rows(), "2|15|541|11|12|313|214|nota|Città d'Italia €|2024-02-29|2024-02-29 23:59:58.1234|-12.75|"
                    "0.1|AB    |NULL\n");
  EXPECT_NE(Rows(), before);
}

TEST_F(PlacementTest, SituationZeroNeitherReadsNorWritesAndANegativeOneOnlyReads) {
  InsertRow(-1, "70, 80, 400, 300");
  const std::int64_t writes = Writes();
  form->situazione = -1;
  form->Show();
  EXPECT_EQ(form->Window().Frame(), (platform::Rect{70, 80, 400, 300}));
  CloseAt({1, 2, 300, 200});
  EXPECT_EQ(Writes(), writes);

  ExecSql(archive, "DROP TABLE STOPOS1");
  TestForm zero(&session);
  zero.Show();
  zero.Window().Close();
  EXPECT_TRUE(errors.empty());

  // Without STOPOS1 a window of another situation cannot be shown.
  TestForm two(&session);
  two.situazione = 2;
  try {
    two.Show();
    ADD_FAILURE() << "shown without STOPOS1";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("STOPOS1"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(two.Window().Visible());
}

TEST_F(PlacementTest, AFailedSaveIsSilentAndTheWindowStillCloses) {
  ExecSql(archive, "CREATE EXCEPTION VIETATO 'Scrittura vietata'");
  ExecSql(archive, "CREATE TRIGGER VIETA FOR STOPOS1 BEFORE INSERT OR UPDATE AS BEGIN EXCEPTION VIETATO; END");
  form->Show();
  CloseAt({1, 2, 300, 200});
  EXPECT_FALSE(form->Window().Visible());
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(Rows(), "");

  // A row locked by another connection does not hold up the close either.
  ExecSql(archive, "DROP TRIGGER VIETA");
  InsertRow(2, "10, 10, 300, 200");
  db::Connection other;
  OpenIBDatabase(other, archiveFile.Path());
  db::TransactedStatement lock(other, {"concurrency", "nowait"}, db::TransactedStatement::End::Rollback, false);
  lock.Query().SetSQL({"UPDATE STOPOS1 SET PosX = 99"});
  lock.Query().ExecQuery();
  form->Show();
  CloseAt({3, 4, 300, 200});
  EXPECT_FALSE(form->Window().Visible());
  lock.Finish();
  EXPECT_EQ(Rows(), "2|15|541|10|10|300|200|NULL\n");
}

}  // namespace
}  // namespace brontelx
