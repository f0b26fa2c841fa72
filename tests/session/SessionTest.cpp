#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "base/Error.h"
#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "session/BrontelX.Classes.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using testing::ExecSql;
using testing::QueryText;

const std::string kMissingArchive = "Parametro \"Archivio\" mancante o non configurato nel Quadrel dell'utente";

fs::path ExeFolder() { return fs::read_symlink("/proc/self/exe").parent_path(); }

// The user directory in user/user.fdb beside the test program, as the session looks for it, with
// users 1 and 2 of company ALFA, and two company archives.
class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    userDirectory = std::make_unique<testing::TestDatabase>(schema::Kind::UserDirectory, "UTF8",
                                                            ExeFolder() / "user", "user.fdb");
    OpenIBDatabase(users, userDirectory->Path());
    ExecSql(users, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (1, 'Mario', 'ALFA')");
    ExecSql(users, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (2, 'Anna', 'ALFA')");
    SetArchivio(1, firstArchive.Path());
    SetArchivio(2, secondArchive.Path());
  }

  void SetArchivio(int user, const std::string& value) {
    ExecSql(users, "DELETE FROM TABQUADREL WHERE UTENTE = " + std::to_string(user));
    ExecSql(users, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) VALUES (" +
                       std::to_string(user) + ", 'ALFA', 'Archivio', '" + value + "', 1)");
  }

  std::string StartFailure(std::int32_t user) {
    try {
      session.Avvia(user);
    } catch (const std::exception& e) {
      return e.what();
    }
    return "started";
  }

  static std::string ArchiveOf(TSessione& s) {
    return QueryText(s.IBDatabase(), "SELECT MON$DATABASE_NAME FROM MON$DATABASE");
  }

  testing::TestDatabase firstArchive{schema::Kind::Archive};
  testing::TestDatabase secondArchive{schema::Kind::Archive};
  std::unique_ptr<testing::TestDatabase> userDirectory;
  db::Connection users;
  TSessione session;
};

TEST_F(SessionTest, StartsUserDirectoryUserAndArchive) {
  EXPECT_FALSE(session.DRKUser().DBUser().Connected());
  EXPECT_FALSE(session.IBDatabase().Connected());
  session.Avvia(1);
  EXPECT_EQ(session.DRKUser().CodiceUtente(), 1);
  EXPECT_EQ(session.DRKUser().NomeUtente(), "Mario");
  EXPECT_EQ(ArchiveOf(session), firstArchive.Path());

  // A second start reloads the user but keeps the archive it has.
  session.Avvia(2);
  EXPECT_EQ(session.DRKUser().CodiceUtente(), 2);
  EXPECT_EQ(ArchiveOf(session), firstArchive.Path());

  // Parameters are read afresh each time.
  EXPECT_EQ(session.Parametri().Archivio(), secondArchive.Path());
  SetArchivio(2, "altro.fdb");
  EXPECT_EQ(session.Parametri().Archivio(), "altro.fdb");
  EXPECT_EQ(session.Parametri().BinDir(), "");

  // With the archive connected, nothing is read: not even a closed user directory is noticed.
  session.DRKUser().DBUser().Close();
  EXPECT_NO_THROW(session.CheckIBDatabase());
}

TEST_F(SessionTest, EachStepReportsItsOwnFailure) {
  EXPECT_EQ(StartFailure(42), "Utente 42 non trovato");
  EXPECT_FALSE(session.IBDatabase().Connected());

  ExecSql(users, "DELETE FROM TABQUADREL");
  EXPECT_EQ(StartFailure(1), kMissingArchive);
  SetArchivio(1, "");
  EXPECT_EQ(StartFailure(1), kMissingArchive);
  EXPECT_TRUE(session.DRKUser().DBUser().Connected());
  EXPECT_EQ(session.DRKUser().CodiceUtente(), 1);
  EXPECT_FALSE(session.IBDatabase().Connected());
}

TEST_F(SessionTest, ArchiveOpenFailureIsWrappedWithTheValue) {
  for (const std::string& value : {firstArchive.Folder().string() + "/%s%d assente.fdb", std::string("   ")}) {
    SetArchivio(1, value);
    std::string caught;
    try {
      db::Connection probe;
      OpenIBDatabase(probe, value);
    } catch (const std::exception& e) {
      caught = e.what();
    }
    ASSERT_FALSE(caught.empty());
    EXPECT_EQ(StartFailure(1), "Fallita connessione all'archivio \"" + value + "\"\r\n" + caught);
    EXPECT_TRUE(session.DRKUser().DBUser().Connected());
    EXPECT_FALSE(session.IBDatabase().Connected());
  }
}

TEST_F(SessionTest, MissingUserDirectoryFailsWithTheOpenError) {
  users.Close();
  userDirectory.reset();
  EXPECT_THROW(session.Avvia(1), db::DatabaseError);
  EXPECT_FALSE(session.DRKUser().DBUser().Connected());
}

TEST_F(SessionTest, DestroyingTheSessionClosesBothConnections) {
  auto owned = std::make_unique<TSessione>();
  owned->Avvia(1);
  owned->DRKTabX().SetParametroTesto("N", "v", 0);
  db::Connection archive;
  OpenIBDatabase(archive, firstArchive.Path());
  const std::string attachments = "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0";
  EXPECT_EQ(QueryText(archive, attachments), "2");
  EXPECT_EQ(QueryText(users, attachments), "2");
  owned.reset();
  EXPECT_EQ(QueryText(archive, attachments), "1");
  EXPECT_EQ(QueryText(users, attachments), "1");
}

}  // namespace
}  // namespace brontelx
