#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "database/DRKDBUtility.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Sql.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKTabX.h"
#include "userdir/DRKUser.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;

// Two Unix users of one machine, root and the one scripts/test.sh creates in group firebird
// (BRONTELX_PEER_USER), validate on the same embedded files: programs and data in folders of group
// firebird, as a site sets them up.
class UnixUsersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    peer = std::getenv("BRONTELX_PEER_USER") ? std::getenv("BRONTELX_PEER_USER") : "";
    if (geteuid() != 0 || peer.empty()) GTEST_SKIP() << "needs root and BRONTELX_PEER_USER";
    const group* firebird = getgrnam("firebird");
    ASSERT_NE(firebird, nullptr);
    fs::create_directories(programs);
    fs::copy_file(BRONTELX_TOOL, programs / "brontelx");
    fs::copy(BRONTELX_FIREBIRD_ROOT, programs / "firebird", fs::copy_options::recursive);
    {
      TDRKUser user;
      user.ConnettiDB(users.Path());
      testing::ExecSql(user.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (1, 'Mario', 'ALFA')");
      user.SetCodiceUtente(1);
      user.SetParamQuadrel("Archivio", archive.Path());
      db::Connection connection;
      OpenIBDatabase(connection, archive.Path());
      TDRKTabX tabX;
      tabX.SetDatabase(&connection);
      tabX.SetParametroTesto("VelZidBolDBRux", notes.Path(), 0);
      testing::ExecSql(connection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (1, 7, 'APERTURA', 2)");
      testing::ExecSql(connection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (2, 7, 'B-1', 2)");
      db::Connection noteConnection;
      OpenIBDatabase(noteConnection, notes.Path());
      testing::ExecSql(noteConnection, "INSERT INTO BOLLE (BOL_COD) VALUES ('B-1')");
    }
    chmod(dir.Path().c_str(), 0755);
    for (const auto& entry : fs::recursive_directory_iterator(dir.Path())) {
      static_cast<void>(chown(entry.path().c_str(), static_cast<uid_t>(-1), firebird->gr_gid));
      chmod(entry.path().c_str(), entry.is_directory() ? 02770 : (entry.path().filename() == "brontelx" ? 0750 : 0660));
    }
    firebirdGroup = firebird->gr_gid;
  }

  // A fresh lock folder of group firebird with the setgid bit (`shared`), or one anybody may
  // write, as /tmp/firebird is.
  std::string LockFolder(const std::string& name, bool shared) {
    const fs::path folder = dir.Path() / name;
    fs::create_directory(folder);
    if (shared) static_cast<void>(chown(folder.c_str(), 0, firebirdGroup));
    chmod(folder.c_str(), shared ? 02770 : 01777);
    return folder.string();
  }

  // Runs a validation as root or as the peer; `outsideGroup`: as the peer without its groups.
  testing::ChildResult Validate(bool asPeer, const std::string& lockFolder, bool outsideGroup = false) {
    const std::string tool = (programs / "brontelx").string();
    const std::vector<std::string> environment{"FIREBIRD_LOCK=" + lockFolder};
    if (!asPeer) return testing::RunChild(tool, {"validate", "1", "B-1"}, {}, environment);
    if (outsideGroup) {
      return testing::RunChild("setpriv", {"--reuid=" + peer, "--regid=users", "--clear-groups", tool, "validate", "1", "B-1"},
                               {}, environment);
    }
    return testing::RunChild("runuser", {"-u", peer, "--", tool, "validate", "1", "B-1"}, {}, environment);
  }

  const testing::TempDir dir;
  const fs::path programs = dir.Path() / "programmi";
  const fs::path data = dir.Path() / "dati";
  testing::TestDatabase users{schema::Kind::UserDirectory, "UTF8", programs / "user"};
  testing::TestDatabase archive{schema::Kind::Archive, "UTF8", data};
  testing::TestDatabase notes{schema::Kind::DeliveryNotes, "UTF8", data};
  std::string peer;
  gid_t firebirdGroup = 0;
};

TEST_F(UnixUsersTest, TwoUsersShareTheFilesInEitherOrder) {
  for (const bool peerFirst : {false, true}) {
    SCOPED_TRACE(peerFirst ? "peer first" : "root first");
    const std::string lock = LockFolder(peerFirst ? "lock-peer-first" : "lock-root-first", true);
    for (const bool asPeer : {peerFirst, !peerFirst, peerFirst}) {
      const testing::ChildResult run = Validate(asPeer, lock);
      EXPECT_EQ(run.output + run.errors, "OK\n") << (asPeer ? "peer" : "root");
    }
  }
}

// The engine's lock files, once root made them, shut out a user outside group firebird: the message
// says which folder, whose the file is, and what to do.
TEST_F(UnixUsersTest, AUserOutsideTheGroupIsToldTheRemedy) {
  const std::string lock = LockFolder("lock-open", false);
  ASSERT_EQ(Validate(false, lock).output, "OK\n");
  const testing::ChildResult run = Validate(true, lock, true);
  EXPECT_NE(run.status.code, 0);
  for (const std::string& part : std::vector<std::string>{"FIREBIRD_LOCK", lock, "owner firebird:firebird, mode 0660", "chmod 2770"})
    EXPECT_NE(run.errors.find(part), std::string::npos) << part << "\n" << run.output << run.errors;
}

}  // namespace
}  // namespace brontelx
