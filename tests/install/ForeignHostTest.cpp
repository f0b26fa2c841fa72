#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "database/DRKDBUtility.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Sql.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr char kCode[] = "Città-1";

// An installed copy of the programs and the library, and databases in Windows-1252 that hold a
// delivery-note code with an accented letter: user 1's archive, whose acquisition log has the code
// in an opened chain (and a later entry, so that the chain query runs), and the delivery-note
// database that lists it. The children run without FIREBIRD, as a foreign host starts.
class ForeignHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const ChildResult install = RunChild("cmake", {"--install", BRONTELX_BINARY_DIR, "--prefix", installed.string()});
    ASSERT_TRUE(install.status.exited && install.status.code == 0) << install.output << install.errors;
    archive = std::make_unique<TestDatabase>(schema::Kind::Archive, "WIN1252", data);
    rux = std::make_unique<TestDatabase>(schema::Kind::DeliveryNotes, "WIN1252", data);
    db::Connection connection;
    OpenIBDatabase(connection, rux->Path());
    ExecSql(connection, std::string("INSERT INTO BOLLE (BOL_COD) VALUES ('") + kCode + "')");
    connection.Close();
    OpenIBDatabase(connection, archive->Path());
    ExecSql(connection, "INSERT INTO TABX (CODICE, NOME, TESTO) VALUES (1, 'VelZidBolDBRux', '" + rux->Path() + "')");
    ExecSql(connection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (1, 1, 'APERTURA', 1)");
    ExecSql(connection, std::string("INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (2, 1, '") +
                            kCode + "', 1)");
    ExecSql(connection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (3, 2, 'ALTRO', 1)");
  }

  // The user directory a host finds in user/ beside its executable, in `folder`.
  void AddUserDirectory(const fs::path& folder) {
    userDirectories.push_back(std::make_unique<TestDatabase>(schema::Kind::UserDirectory, "WIN1252", folder / "user",
                                                             "user.fdb"));
    db::Connection users;
    OpenIBDatabase(users, userDirectories.back()->Path());
    ExecSql(users, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (1, 'Niccolò', 'Città SRL')");
    ExecSql(users, "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                   "VALUES (1, 'Città SRL', 'Archivio', '" + archive->Path() + "', 1)");
    ExecSql(users, "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE) VALUES (9, 'Prova')");
  }

  // The foreign host in a folder of its own, with its user directory.
  fs::path ForeignHost() {
    const fs::path folder = temp.Path() / "host";
    fs::create_directories(folder);
    AddUserDirectory(folder);
    fs::copy_file(BRONTELX_FOREIGN_HOST, folder / "foreign-host");
    return folder / "foreign-host";
  }

  TempDir temp;
  const fs::path installed = temp.Path() / "installato";
  const fs::path bin = installed / "bin";
  const fs::path data = temp.Path() / "dati città";
  std::unique_ptr<TestDatabase> archive, rux;
  std::vector<std::unique_ptr<TestDatabase>> userDirectories;
  const std::vector<std::string> hostEnvironment{"FIREBIRD", "QT_QPA_PLATFORM=offscreen"};
};

// However the library is named when it is loaded, and wherever the host goes afterwards, the
// client is pointed at the firebird/ folder beside the library's file, and the character sets
// load from there. Loading it, opening its window and closing it leaves the host's signals as
// they were.
TEST_F(ForeignHostTest, TheLibraryFindsItsFirebirdFolderHoweverItIsLoaded) {
  const fs::path host = ForeignHost();
  fs::create_directories(installed / "altro");
  fs::create_directory_symlink(bin, temp.Path() / "collegamento");
  struct Way {
    std::string library;
    fs::path cdBefore;
    fs::path cdAfter;
  };
  const Way ways[] = {
      {"./libBrontelX.so", bin, {}},
      {"../bin/libBrontelX.so", installed / "altro", {}},
      {installed.string() + "//bin/./libBrontelX.so", {}, {}},
      {"collegamento/libBrontelX.so", temp.Path(), {}},
      {"./libBrontelX.so", bin, "/"},
  };
  const std::string root = fs::canonical(bin / "firebird").string();
  for (const Way& way : ways) {
    SCOPED_TRACE(way.library + (way.cdAfter.empty() ? "" : ", then cd " + way.cdAfter.string()));
    std::vector<std::string> arguments{way.library, "--user", "1", "--datum", kCode};
    if (!way.cdBefore.empty()) arguments.insert(arguments.end(), {"--cd-before", way.cdBefore.string()});
    if (!way.cdAfter.empty()) arguments.insert(arguments.end(), {"--cd-after", way.cdAfter.string()});
    const ChildResult run = RunChild(host.string(), arguments, {}, hostEnvironment);
    EXPECT_TRUE(run.status.exited && run.status.code == 0) << run.errors;
    EXPECT_EQ(run.output, "result: OK\nfirebird: " + root + "\nsignals: same\n") << run.errors;
  }
}

// A host that installs no handler of its own ends on SIGTERM while the library's window is open.
TEST_F(ForeignHostTest, SigtermEndsAHostWithAWindowOpen) {
  ChildProcess host(ForeignHost().string(), {(bin / "libBrontelX.so").string(), "--user", "1", "--datum", kCode,
                                             "--stay-open"},
                    hostEnvironment);
  ASSERT_TRUE(host.WaitForOutput("open\n", 60s)) << host.Output() << host.Errors();
  EXPECT_NE(host.Output().find("result: OK\n"), std::string::npos) << host.Output();
  EXPECT_NE(host.Output().find("signals: same\n"), std::string::npos) << host.Output();
  host.Signal(SIGTERM);
  const std::optional<ChildStatus> status = host.Wait(30s);
  ASSERT_TRUE(status) << "the host kept running";
  EXPECT_FALSE(status->exited);
  EXPECT_EQ(status->code, SIGTERM);
}

// The stand-in host ends on SIGINT and SIGTERM with the shell's status for them, once its window
// has closed as its close button closes it: the window stores its placement and releases its
// session.
TEST_F(ForeignHostTest, TheStandInHostClosesItsWindowsAndEndsOnASignal) {
  AddUserDirectory(bin);
  const std::string users = userDirectories.back()->Path();
  const auto query = [](const std::string& database, const std::string& sql) {
    db::Connection connection;
    OpenIBDatabase(connection, database);
    return QueryText(connection, sql);
  };
  const std::pair<int, int> endings[] = {{SIGINT, 130}, {SIGTERM, 143}};
  for (const auto& [signal, expected] : endings) {
    SCOPED_TRACE(signal);
    {
      db::Connection connection;
      OpenIBDatabase(connection, users);
      ExecSql(connection, "UPDATE TELVILOGFUNZ SET HANDLEFINESTRA = NULL WHERE IDFINESTRA = 9");
      connection.Close();
      OpenIBDatabase(connection, archive->Path());
      ExecSql(connection, "DELETE FROM STOPOS1");
    }
    ChildProcess host((bin / "brontelx-host").string(), {"test", "--user", "1", "--window-id", "9"}, hostEnvironment);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (query(users, "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = 9").empty() &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(100ms);
    host.Signal(signal);
    const std::optional<ChildStatus> status = host.Wait(30s);
    ASSERT_TRUE(status) << "the host kept running";
    EXPECT_TRUE(status->exited && status->code == expected) << status->exited << " " << status->code << host.Errors();
    EXPECT_EQ(host.Errors().find("brontelx-host:"), std::string::npos) << host.Errors();
    EXPECT_EQ(query(archive->Path(), "SELECT COUNT(*) FROM STOPOS1"), "1");
  }
}

// A host started as a service, without descriptors 0-2, keeps writing to them harmlessly; a host
// that unloads the library with its window open can still use the window; a program the host
// starts inherits none of the engine's files or sockets.
TEST_F(ForeignHostTest, ServiceHostsUnloadingHostsAndTheirChildProgramsStayWhole) {
  const fs::path host = ForeignHost();
  const std::pair<std::string, std::string> conditions[] = {
      {"--closed-stdio", "result: OK\nstdio: /dev/null /dev/null /dev/null\n"},
      {"--unload", "result: OK\nafter unload: OK\n"},
      {"--inheritable", "result: OK\ninheritable:\n"},
  };
  for (const auto& [condition, expected] : conditions) {
    SCOPED_TRACE(condition);
    const ChildResult run =
        RunChild(host.string(), {(bin / "libBrontelX.so").string(), "--user", "1", "--datum", kCode, condition}, {},
                 hostEnvironment);
    EXPECT_TRUE(run.status.exited && run.status.code == 0) << run.status.code << run.errors;
    EXPECT_EQ(run.output.substr(0, run.output.find("firebird:")), expected) << run.errors;
  }
}

}  // namespace
}  // namespace brontelx::testing
