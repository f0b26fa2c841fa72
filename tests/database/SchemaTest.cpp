#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "database/DatabaseError.h"
#include "schema/SchemaDatabase.h"
#include "tests/support/Isql.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::testing {
namespace {

using schema::Kind;

// The blank-separated words of isql's output, so that "T=TABX" cannot match inside a longer name.
std::set<std::string> Words(const std::string& output) {
  std::istringstream in(output);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The default character set, the user tables and the character set of each user VARCHAR column.
constexpr char kCatalogScript[] = R"(SET HEADING OFF;
SELECT 'CS=' || COALESCE(TRIM(RDB$CHARACTER_SET_NAME), 'NONE') FROM RDB$DATABASE;
SELECT 'T=' || TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0;
SELECT 'COL=' || TRIM(RF.RDB$RELATION_NAME) || '.' || TRIM(RF.RDB$FIELD_NAME) || '=' ||
       TRIM(CS.RDB$CHARACTER_SET_NAME)
  FROM RDB$RELATION_FIELDS RF
  JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE
  JOIN RDB$CHARACTER_SETS CS ON CS.RDB$CHARACTER_SET_ID = F.RDB$CHARACTER_SET_ID
  WHERE F.RDB$FIELD_TYPE = 37 AND RF.RDB$SYSTEM_FLAG = 0;
)";

struct Expected {
  Kind kind;
  std::vector<std::string> tables;
  std::string textColumn;
};

TEST(SchemaTest, CreatesEachKindWithTheRequestedDefaultCharset) {
  const std::vector<Expected> kinds = {
      {Kind::UserDirectory, {"UTENTI", "TABQUADREL", "TELVILOGFUNZ"}, "UTENTI.NOMEUTENTE"},
      {Kind::Archive, {"TABX", "STOPOS1", "BRONTELLOG"}, "TABX.NOME"},
      {Kind::DeliveryNotes, {"BOLLE"}, "BOLLE.BOL_COD"},
  };
  for (const Expected& expected : kinds) {
    for (const std::string charset : {"UTF8", "WIN1252", "NONE"}) {
      SCOPED_TRACE(expected.textColumn + " in " + charset);
      std::string output;
      {
        const TestDatabase database(expected.kind, charset);
        output = RunIsql(database.Path(), kCatalogScript);
      }
      const std::set<std::string> words = Words(output);
      EXPECT_TRUE(words.count("CS=" + charset)) << output;
      EXPECT_TRUE(words.count("COL=" + expected.textColumn + "=" + charset)) << output;
      for (const std::string& table : expected.tables) EXPECT_TRUE(words.count("T=" + table)) << output;
      EXPECT_EQ(output.find("Statement failed"), std::string::npos) << output;
    }
  }
}

TEST(SchemaTest, FailedCreationLeavesNoFileBehind) {
  const TempDir dir;

  const std::filesystem::path existing = dir.Path() / "existing.fdb";
  std::ofstream(existing) << "keep";
  EXPECT_THROW(schema::CreateDatabase(existing, Kind::Archive, "UTF8"), db::DatabaseError);
  std::ifstream in(existing);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "keep");

  const std::filesystem::path badCharset = dir.Path() / "charset.fdb";
  EXPECT_THROW(schema::CreateDatabase(badCharset, Kind::Archive, "NOSUCHSET"), db::DatabaseError);
  EXPECT_FALSE(std::filesystem::exists(badCharset));

  const std::filesystem::path noFolder = dir.Path() / "missing" / "archive.fdb";
  EXPECT_THROW(schema::CreateDatabase(noFolder, Kind::Archive, "UTF8"), db::DatabaseError);
  EXPECT_FALSE(std::filesystem::exists(noFolder.parent_path()));
}

}  // namespace
}  // namespace brontelx::testing
