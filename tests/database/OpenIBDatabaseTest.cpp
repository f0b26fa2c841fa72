#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/Error.h"
#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using testing::ExecSql;
using testing::QueryInt;
using testing::QueryText;

const std::vector<std::string> kCredentialLines = {"user_name=SYSDBA", "password=quillbank"};

void WriteFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string AttachedFile(db::Connection& connection) {
  return QueryText(connection, "SELECT MON$DATABASE_NAME FROM MON$DATABASE");
}

TEST(OpenIBDatabaseTest, DatiIniBesideThePathChoosesTheDatabase) {
  testing::TestDatabase named(schema::Kind::Archive);
  testing::TestDatabase other(schema::Kind::DeliveryNotes);
  WriteFile(named.Folder() / "dati.ini", "[config]\r\npercorsodatabase = " + other.Path() + "  \r\n");
  db::Connection connection;
  OpenIBDatabase(connection, named.Path());
  EXPECT_EQ(connection.DatabaseName(), other.Path());
  EXPECT_EQ(AttachedFile(connection), other.Path());
  EXPECT_EQ(connection.Params(), kCredentialLines);
}

TEST(OpenIBDatabaseTest, AFolderNameLooksForDatiIniInside) {
  testing::TestDatabase database(schema::Kind::Archive);
  WriteFile(database.Folder() / "dati.ini", "[CONFIG]\nPercorsoDatabase=" + database.Path() + "\n");
  db::Connection connection;
  OpenIBDatabase(connection, database.Folder().string() + "/");
  EXPECT_EQ(AttachedFile(connection), database.Path());
}

TEST(OpenIBDatabaseTest, AFolderNamedDatiIniIsNotTheFile) {
  testing::TestDatabase database(schema::Kind::Archive);
  fs::create_directory(database.Folder() / "dati.ini");
  db::Connection connection;
  OpenIBDatabase(connection, database.Path());
  EXPECT_EQ(AttachedFile(connection), database.Path());
}

TEST(OpenIBDatabaseTest, FoldersWithAccentedLettersOpen) {
  const testing::TempDir dir;
  const struct {
    schema::Kind kind;
    fs::path file;
  } files[] = {{schema::Kind::Archive, dir.Path() / "città" / "archivio.fdb"},
               {schema::Kind::DeliveryNotes, dir.Path() / "bolle più € vecchie" / "bolle.fdb"},
               {schema::Kind::UserDirectory, dir.Path() / "programmi città" / "user" / "user.fdb"}};
  for (const auto& file : files) {
    testing::TestDatabase database(file.kind, "WIN1252", file.file.parent_path(), file.file.filename().string());
    db::Connection connection;
    OpenIBDatabase(connection, database.Path());
    EXPECT_EQ(AttachedFile(connection), file.file.string());
  }
  // The same path named by a dati.ini written in Windows-1252 beside another file.
  testing::TestDatabase database(schema::Kind::Archive, "UTF8", dir.Path() / "città", "archivio.fdb");
  WriteFile(dir.Path() / "dati.ini", "[CONFIG]\r\nPercorsoDatabase=" + dir.Path().string() + "/citt\xE0/archivio.fdb\r\n");
  db::Connection connection;
  OpenIBDatabase(connection, (dir.Path() / "altro.fdb").string());
  EXPECT_EQ(AttachedFile(connection), database.Path());
}

TEST(OpenIBDatabaseTest, ReopenClosesFirstAndAFailedReopenLeavesItClosed) {
  testing::TestDatabase first(schema::Kind::Archive);
  testing::TestDatabase second(schema::Kind::DeliveryNotes);
  db::Connection connection;
  OpenIBDatabase(connection, first.Path());
  const auto firstAttachment = QueryInt(connection, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE");
  OpenIBDatabase(connection, first.Path());
  EXPECT_NE(QueryInt(connection, "SELECT CURRENT_CONNECTION FROM RDB$DATABASE"), firstAttachment);
  OpenIBDatabase(connection, second.Path());
  EXPECT_EQ(AttachedFile(connection), second.Path());

  const std::string missing = (first.Folder() / "missing.fdb").string();
  try {
    OpenIBDatabase(connection, missing);
    FAIL() << "opened";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("No such file or directory"), std::string::npos) << e.what();
  }
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(connection.DatabaseName(), missing);
  EXPECT_EQ(connection.Params(), kCredentialLines);
}

TEST(OpenIBDatabaseTest, IncompleteIniSettingsFailBeforeOpening) {
  testing::TestDatabase database(schema::Kind::Archive);
  testing::TestDatabase incomplete(schema::Kind::Archive);
  WriteFile(incomplete.Folder() / "dati.ini", "[CONFIG]\nNome Server=SRVDATI\n");
  db::Connection connection;
  OpenIBDatabase(connection, database.Path());
  connection.Params().push_back("lc_ctype=UTF8");
  try {
    OpenIBDatabase(connection, incomplete.Path());
    FAIL() << "opened";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 "Riferimenti file .ini incompleti (specificare \"Lettera Disco Server\" o \"PercorsoDatabase\")");
  }
  EXPECT_FALSE(connection.Connected());
  EXPECT_EQ(connection.Params(), kCredentialLines);
  EXPECT_EQ(connection.DatabaseName(), database.Path());
}

TEST(OpenIBDatabaseTest, BadDescriptionsGiveClearErrors) {
  db::Connection connection;
  EXPECT_THROW(OpenIBDatabase(connection, std::string()), db::DatabaseError);
  EXPECT_THROW(OpenIBDatabase(connection, std::string(5000, 'x') + ".fdb"), db::DatabaseError);
  EXPECT_THROW(OpenIBDatabase(connection, "\x01\xFF:\\\\//"), db::DatabaseError);
  EXPECT_FALSE(connection.Connected());
  EXPECT_THROW(CreateReadCommittedTransaction(connection), db::DatabaseError);
  testing::TestDatabase database(schema::Kind::Archive);
  connection.SetDatabaseName(database.Path());
  connection.Params() = {"user_name=SYSDBA", "role=R"};
  try {
    connection.Open();
    FAIL() << "opened";
  } catch (const db::DatabaseError& e) {
    EXPECT_STREQ(e.what(), "Unknown connection parameter \"role=R\"");
  }
  connection.Params() = {"user_name=SYSDBA", "password=quillbank", "lc_ctype=UTF8"};
  connection.Open();
  EXPECT_EQ(QueryText(connection, "SELECT TRIM(MON$USER) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"),
            "SYSDBA");
}

TEST(TransactionParamsTest, ReadCommittedAndDefaultTransactions) {
  testing::TestDatabase database(schema::Kind::Archive);
  db::Connection connection;
  OpenIBDatabase(connection, database.Path());
  const std::string isolation =
      "SELECT MON$ISOLATION_MODE || ':' || MON$LOCK_TIMEOUT || ':' || MON$READ_ONLY FROM MON$TRANSACTIONS "
      "WHERE MON$TRANSACTION_ID = CURRENT_TRANSACTION";

  auto readCommitted = CreateReadCommittedTransaction(connection);
  EXPECT_EQ(readCommitted->Params(), (std::vector<std::string>{"isc_tpb_read_committed", "isc_tpb_rec_version"}));
  auto serverDefaults = CreateIBTransaction(connection, TTPBFlags());
  EXPECT_TRUE(serverDefaults->Params().empty());
  ASSERT_TRUE(readCommitted->Active());
  ASSERT_TRUE(serverDefaults->Active());

  // Both are open at once; the server reports read committed with record versions (2) and, for
  // the defaults, concurrency (1), waiting without limit (-1), read-write (0).
  db::Statement inReadCommitted(&connection, readCommitted.get());
  inReadCommitted.SetSQL({isolation});
  inReadCommitted.ExecQuery();
  EXPECT_EQ(inReadCommitted.FieldAt(0).AsString(), "2:-1:0");
  db::Statement inDefaults(&connection, serverDefaults.get());
  inDefaults.SetSQL({isolation});
  inDefaults.ExecQuery();
  EXPECT_EQ(inDefaults.FieldAt(0).AsString(), "1:-1:0");
}

TEST(TransactionParamsTest, NowaitWriteOnALockedRowFailsAtOnce) {
  testing::TestDatabase database(schema::Kind::Archive);
  db::Connection holder;
  db::Connection writer;
  OpenIBDatabase(holder, database.Path());
  OpenIBDatabase(writer, database.Path());
  ExecSql(holder, "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES (1, 'N', 'originale')");

  db::Transaction lock(&holder);
  lock.StartTransaction();
  db::Statement hold(&holder, &lock);
  hold.SetSQL({"UPDATE TABX SET TESTO = 'in corso' WHERE CODICE = 1"});
  hold.ExecQuery();

  auto snapshot = CreateIBTransaction(writer, MakeTPBFlags({2, 7}));
  db::Statement write(&writer, snapshot.get());
  write.SetSQL({"UPDATE TABX SET TESTO = 'altro' WHERE CODICE = 1"});
  try {
    write.ExecQuery();
    FAIL() << "written";
  } catch (const db::DatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("update conflicts with concurrent update"), std::string::npos) << e.what();
  }
  snapshot->Rollback();
  lock.Rollback();
  EXPECT_EQ(QueryText(writer, "SELECT TESTO FROM TABX WHERE CODICE = 1"), "originale");
}

}  // namespace
}  // namespace brontelx
