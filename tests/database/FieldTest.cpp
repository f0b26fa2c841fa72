#include <gtest/gtest.h>

#include <string>

#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

// One row of values of every kind the layer reads, selected from a table in a UTF8 database.
class FieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OpenIBDatabase(connection, database.Path());
    testing::ExecSql(connection,
                     "CREATE TABLE V (D DATE, TS TIMESTAMP, T TIME, DBL DOUBLE PRECISION, FL FLOAT, B BOOLEAN, "
                     "C CHAR(5), CN CHAR(4) CHARACTER SET NONE, N NUMERIC(9,2), N18 NUMERIC(18,4), "
                     "S SMALLINT, I INTEGER, BIG BIGINT, TXT VARCHAR(30))");
  }

  // Reads the one row of V after `values` were inserted into `columns`, in a new transaction.
  db::Statement& Row(const std::string& columns, const std::string& values) {
    if (transaction.Active()) transaction.Commit();
    testing::ExecSql(connection, "DELETE FROM V");
    testing::ExecSql(connection, "INSERT INTO V (" + columns + ") VALUES (" + values + ")");
    transaction.StartTransaction();
    query.SetSQL({"SELECT * FROM V"});
    query.ExecQuery();
    EXPECT_FALSE(query.Eof());
    return query;
  }

  std::string RangeError(const std::string& column, int bits) {
    try {
      if (bits == 32) {
        query.FieldByName(column).AsInteger();
      } else {
        query.FieldByName(column).AsInt64();
      }
    } catch (const db::DatabaseError& e) {
      return e.what();
    }
    return "no error";
  }

  testing::TestDatabase database{schema::Kind::Archive};
  db::Connection connection;
  db::Transaction transaction{&connection};
  db::Statement query{&connection, &transaction};
};

TEST_F(FieldTest, ValuesReadAsText) {
  Row("D, TS, T, DBL, FL, B, C, CN, N, N18, S, TXT",
      "'2024-02-29', '2024-02-29 13:05:09.123', '07:08:09', 0.1, 1.5, TRUE, 'àb', 'x', -12.05, 0.0001, -7, 'Città'");
  EXPECT_EQ(query.FieldByName("D").AsString(), "2024-02-29");
  EXPECT_EQ(query.FieldByName("TS").AsString(), "2024-02-29 13:05:09.1230");
  EXPECT_EQ(query.FieldByName("T").AsString(), "07:08:09.0000");
  EXPECT_EQ(query.FieldByName("DBL").AsString(), "0.1");
  EXPECT_EQ(query.FieldByName("FL").AsString(), "1.5");
  EXPECT_EQ(query.FieldByName("B").AsString(), "TRUE");
  // CHAR keeps its padding, counted in characters.
  EXPECT_EQ(query.FieldByName("C").AsString(), "àb   ");
  EXPECT_EQ(query.FieldByName("CN").AsString(), "x   ");
  EXPECT_EQ(query.FieldByName("N").AsString(), "-12.05");
  EXPECT_EQ(query.FieldByName("N18").AsString(), "0.0001");
  EXPECT_EQ(query.FieldByName("S").AsString(), "-7");
  EXPECT_EQ(query.FieldByName("TXT").AsString(), "Città");
  query.Close();

  Row("DBL, B, N", "1e300, FALSE, 0.5");
  EXPECT_EQ(query.FieldByName("DBL").AsString(), "1e+300");
  EXPECT_EQ(query.FieldByName("B").AsString(), "FALSE");
  EXPECT_EQ(query.FieldByName("N").AsString(), "0.50");
  EXPECT_TRUE(query.FieldByName("D").IsNull());
  EXPECT_EQ(query.FieldByName("D").AsString(), "");
  EXPECT_EQ(query.FieldByName("I").AsInteger(), 0);
}

TEST_F(FieldTest, ExactNumbersRoundHalfAwayFromZero) {
  Row("N, N18, S, TXT", "-12.75, -0.5, 32767, ' +42 '");
  EXPECT_EQ(query.FieldByName("N").AsInteger(), -13);
  EXPECT_EQ(query.FieldByName("N18").AsInt64(), -1);
  EXPECT_EQ(query.FieldByName("S").AsInteger(), 32767);
  EXPECT_EQ(query.FieldByName("TXT").AsInteger(), 42);
  query.Close();
  Row("N, N18, DBL, FL", "12.49, 99999999999999.9999, -2.5, 0.49");
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 12);
  EXPECT_EQ(query.FieldByName("N18").AsInt64(), 100000000000000);
  EXPECT_EQ(query.FieldByName("DBL").AsInteger(), -3);
  EXPECT_EQ(query.FieldByName("FL").AsInteger(), 0);
}

TEST_F(FieldTest, IntegersAtTheEdgesOfTheirWidth) {
  Row("I, BIG, N18, DBL", "-2147483648, 9223372036854775807, -92233720368547.7580, "
      "CAST(-9223372036854775807 AS DOUBLE PRECISION)");
  EXPECT_EQ(query.FieldByName("I").AsInteger(), INT32_MIN);
  EXPECT_EQ(query.FieldByName("BIG").AsInt64(), INT64_MAX);
  EXPECT_EQ(query.FieldByName("N18").AsInt64(), -92233720368548);
  EXPECT_EQ(query.FieldByName("DBL").AsInt64(), INT64_MIN);
  EXPECT_EQ(RangeError("BIG", 32), "Column \"BIG\": value 9223372036854775807 does not fit a 32-bit integer");
  query.Close();

  Row("BIG, N18, DBL, TXT", "5000000000, 2147483647.5, 1e300, '99999999999999999999'");
  EXPECT_EQ(RangeError("BIG", 32), "Column \"BIG\": value 5000000000 does not fit a 32-bit integer");
  EXPECT_EQ(query.FieldByName("BIG").AsInt64(), 5000000000);
  EXPECT_EQ(RangeError("N18", 32), "Column \"N18\": value 2147483647.5000 does not fit a 32-bit integer");
  EXPECT_EQ(RangeError("DBL", 64), "Column \"DBL\": value 1e+300 does not fit a 64-bit integer");
  EXPECT_EQ(RangeError("TXT", 64), "conversion error from string \"99999999999999999999\"");
  query.Close();

  // 2^63, the first double beyond 64 bits.
  Row("DBL, TXT", "CAST(9223372036854775807 AS DOUBLE PRECISION), '4x'");
  EXPECT_EQ(RangeError("DBL", 64), "Column \"DBL\": value 9223372036854775808 does not fit a 64-bit integer");
  EXPECT_EQ(RangeError("TXT", 32), "conversion error from string \"4x\"");
}

TEST_F(FieldTest, ReturningGivesTheRowOfTheStatement) {
  transaction.StartTransaction();
  db::Statement insert(&connection, &transaction);
  insert.SetSQL({"INSERT INTO V (I, TXT) VALUES (:I, :T) RETURNING I * 2 AS DOPPIO, TXT"});
  insert.ParamByName("I").SetInt(21);
  insert.ParamByName("T").SetString("€");
  insert.ExecQuery();
  ASSERT_FALSE(insert.Eof());
  EXPECT_EQ(insert.FieldCount(), 2u);
  EXPECT_EQ(insert.FieldAt(0).Name(), "DOPPIO");
  EXPECT_EQ(insert.FieldByName("DOPPIO").AsInteger(), 42);
  EXPECT_EQ(insert.FieldAt(1).AsString(), "€");
  EXPECT_FALSE(insert.Open());
  // A statement without output has no row.
  db::Statement update(&connection, &transaction);
  update.SetSQL({"UPDATE V SET I = 1"});
  update.ExecQuery();
  EXPECT_TRUE(update.Eof());
  EXPECT_EQ(update.FieldCount(), 0u);
  EXPECT_THROW(update.FieldAt(0), db::DatabaseError);
}

}  // namespace
}  // namespace brontelx
