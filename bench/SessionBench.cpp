// Starting a session: TSessione::Avvia (user directory, user row, "Archivio", archive) against the
// same two attaches and two queries on the plain API. Both sides also end with the two detaches,
// as the session's destruction does.
// Opening the test window through its entry point, until it is shown, against starting the same
// session alone; closing the window and destroying the session are left out of both.
#include <QApplication>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <system_error>

#include "TestDatabase.h"
#include "BrontelX.Classes.h"
#include "BrontelX.h"
#include "DRKDBUtility.h"
#include "Fixtures.h"
#include "FloorApi.h"
#include "Registration.h"
#include "Sql.h"

namespace brontelx::bench {
namespace {

namespace fs = std::filesystem;

constexpr std::int32_t kUser = 1;
constexpr char kUserRow[] = "SELECT * FROM UTENTI WHERE CODICE=1";
constexpr char kArchivioLookup[] =
    "SELECT\n  VALORE\nFROM\n  TABQUADREL\nWHERE\n  UTENTE=1\n  AND\n  INTESTAZIONE='ALFA'\n  AND\n  "
    "PARAMETRO='Archivio'";

// user/user.fdb beside this program, where the session looks for it, with user 1 of company ALFA
// whose "Archivio" names an archive in a temporary folder. Removed at the end, with the user
// folder when this run created it.
struct SessionDatabases {
  testing::TestDatabase archiveFile{schema::Kind::Archive};
  const std::string archive = archiveFile.Path();
  fs::path userFolder = fs::read_symlink("/proc/self/exe").parent_path() / "user";
  fs::path userFile = userFolder / "user.fdb";
  bool createdFolder = false;

  SessionDatabases() {
    createdFolder = fs::create_directories(userFolder);
    fs::remove(userFile);  // left behind by an interrupted run
    schema::CreateDatabase(userFile, schema::Kind::UserDirectory, "UTF8");
    db::Connection users;
    OpenIBDatabase(users, userFile.string());
    testing::ExecSql(users, {"INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA) "
                       "VALUES (1, 'Mario', 'ALFA', 'segreta', 'info', 3)"});
    testing::ExecSql(users, {"INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                       "VALUES (1, 'ALFA', 'Archivio', '" +
                       archive + "', 1)"});
  }
  ~SessionDatabases() {
    std::error_code ignored;
    fs::remove(userFile, ignored);
    if (createdFolder) fs::remove(userFolder, ignored);
  }
};

void Library(benchmark::State& state) {
  Shared<SessionDatabases>();
  for (auto _ : state) {
    TSessione session;
    session.Avvia(kUser);
    benchmark::DoNotOptimize(session.DRKUser().NomeUtente());
  }
}

// A default transaction (no parameter block), the statement prepared, its first row handed to
// `read`, the transaction rolled back and the statement freed.
template <typename Read>
void FirstRow(db::Status& status, Firebird::IAttachment* attachment, const char* sql, Read read) {
  Firebird::ITransaction* transaction = attachment->startTransaction(status.Get(), 0, nullptr);
  Firebird::IStatement* statement =
      attachment->prepare(status.Get(), transaction, 0, sql, floor::kDialect, floor::kPrepareFlags);
  floor::Message output = floor::OutputOf(status, statement);
  Firebird::IResultSet* cursor =
      statement->openCursor(status.Get(), transaction, nullptr, nullptr, output.Metadata(), 0);
  if (cursor->fetchNext(status.Get(), output.Data()) == Firebird::IStatus::RESULT_OK) read(output);
  cursor->close(status.Get());
  transaction->rollback(status.Get());
  statement->free(status.Get());
}

struct User {
  std::int64_t codice = 0;
  std::string nome, ditta, password, info2;
  std::int64_t profilo = 0;
};

void Floor(benchmark::State& state) {
  const std::string userFile = Shared<SessionDatabases>().userFile.string();
  db::Status status;
  for (auto _ : state) {
    Firebird::IAttachment* users = floor::Attach(status, userFile);
    // The columns of UTENTI in order: CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA.
    User user;
    FirstRow(status, users, kUserRow, [&](const floor::Message& row) {
      user = {row.Int(0), row.Text(1), row.Text(2), row.Text(3), row.Text(4), row.Int(5)};
    });
    std::string archivio;
    FirstRow(status, users, kArchivioLookup, [&](const floor::Message& row) { archivio = row.Text(0); });
    if (user.codice != kUser || archivio.empty())
      throw std::runtime_error("user 1 or its Archivio is missing");
    Firebird::IAttachment* archive = floor::Attach(status, archivio);
    benchmark::DoNotOptimize(user);
    users->detach(status.Get());
    archive->detach(status.Get());
  }
}

void EntryPoint(benchmark::State& state) {
  Shared<SessionDatabases>();
  for (auto _ : state) {
    if (ShowVelCollaudiPersFormX(kUser, 0) != 0) throw std::runtime_error("the test window did not open");
    state.PauseTiming();
    for (QWidget* window : QApplication::topLevelWidgets()) window->close();
    QCoreApplication::sendPostedEvents();
    state.ResumeTiming();
  }
}

void AvviaAlone(benchmark::State& state) {
  Shared<SessionDatabases>();
  for (auto _ : state) {
    auto session = std::make_unique<TSessione>();
    session->Avvia(kUser);
    state.PauseTiming();
    session.reset();
    state.ResumeTiming();
  }
}

}  // namespace

void RegisterSessionBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "5 TSessione::Avvia (+ destruction): library/floor", "Avvia", Library, Floor, 1.15);
  RegisterPair(reporter, "8 Test window through its entry point / TSessione::Avvia alone", "Window", EntryPoint,
               AvviaAlone, 1.3);
}

}  // namespace brontelx::bench
