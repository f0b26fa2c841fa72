#include <gtest/gtest.h>

#include <filesystem>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "database/DRKDBUtility.h"
#include "database/Statement.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Sql.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKTabX.h"
#include "userdir/DRKUser.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using testing::ExecSql;

// The brontelx tool installed as the project installs it, with the Firebird root folder beside it,
// in a folder with accented letters: user/user.fdb beside the tool, the company archive and the
// delivery-note database (both WIN1252) in another such folder. User 1 of company ALFA acquires
// delivery note "Città-1", which sits in a chain opened by APERTURA.
class SharedDatabasesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(programs);
    fs::copy_file(BRONTELX_TOOL, tool);
    fs::copy(BRONTELX_FIREBIRD_ROOT, programs / "firebird", fs::copy_options::recursive);
    users = std::make_unique<testing::TestDatabase>(schema::Kind::UserDirectory, "UTF8", programs / "user");
    {
      TDRKUser user;
      user.ConnettiDB(users->Path());
      ExecSql(user.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (1, 'Mario', 'ALFA')");
      user.SetCodiceUtente(1);
      user.SetParamQuadrel("Archivio", archive.Path());
    }
    db::Connection archiveConnection;
    OpenIBDatabase(archiveConnection, archive.Path());
    TDRKTabX tabX;
    tabX.SetDatabase(&archiveConnection);
    tabX.SetParametroTesto("VelZidBolDBRux", deliveryNotes.Path(), 0);
    ExecSql(archiveConnection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (1, 7, 'APERTURA', 2)");
    ExecSql(archiveConnection, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (2, 7, 'Città-1', 2)");
    db::Connection notes;
    OpenIBDatabase(notes, deliveryNotes.Path());
    ExecSql(notes, "INSERT INTO BOLLE (BOL_COD) VALUES ('Città-1')");
  }

  // The archive held open by this process, a read in progress, as a host with a window open does.
  void HoldArchive() {
    OpenIBDatabase(holder, archive.Path());
    holding.StartTransaction();
    reading.SetSQL({"SELECT DATOINPUT FROM BRONTELLOG"});
    reading.ExecQuery();
  }

  struct Result {
    int exitCode;  // -1 when a signal ended it or it did not end
    std::string output;  // standard output, then errors
  };

  // Runs `runs` validations at the same time and waits for all.
  std::vector<Result> Validate(int runs, const std::vector<std::string>& environment = {}) {
    std::vector<std::unique_ptr<testing::ChildProcess>> children;
    for (int i = 0; i < runs; ++i)
      children.push_back(std::make_unique<testing::ChildProcess>(
          tool.string(), std::vector<std::string>{"validate", "1", "Città-1"}, environment));
    std::vector<Result> results;
    for (auto& child : children) {
      const std::optional<testing::ChildStatus> status = child->Wait(std::chrono::seconds(120));
      results.push_back({status && status->exited ? status->code : -1, child->Output() + child->Errors()});
    }
    return results;
  }

  const testing::TempDir dir;
  const fs::path programs = dir.Path() / "programmi città";
  const fs::path tool = programs / "brontelx";
  std::unique_ptr<testing::TestDatabase> users;
  testing::TestDatabase archive{schema::Kind::Archive, "WIN1252", dir.Path() / "dati città", "archivio.fdb"};
  testing::TestDatabase deliveryNotes{schema::Kind::DeliveryNotes, "WIN1252", dir.Path() / "dati città", "bolle.fdb"};
  db::Connection holder;
  db::Transaction holding{&holder};
  db::Statement reading{&holder, &holding};
};

TEST_F(SharedDatabasesTest, ConcurrentValidationsWhileAnotherProcessHoldsTheArchive) {
  HoldArchive();
  const std::vector<Result> results = Validate(20);
  for (const Result& result : results) {
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "OK\n");
  }
  EXPECT_FALSE(reading.Eof());
}

TEST_F(SharedDatabasesTest, AFirebirdConfigurationOfTheHostIsKept) {
  HoldArchive();
  // The system's configuration: the engine's default mode, one process for each file.
  const std::vector<Result> results =
      Validate(1, {"FIREBIRD=/usr/lib/" BRONTELX_LIBRARY_ARCHITECTURE "/firebird/3.0"});
  // The archive cannot be attached, so the session cannot start.
  EXPECT_EQ(results[0].exitCode, 3);
  EXPECT_NE(results[0].output.find("Database already opened with engine instance, incompatible with current"),
            std::string::npos)
      << results[0].output;
}

}  // namespace
}  // namespace brontelx
