#include "SessionData.h"

#include <stdexcept>
#include <system_error>

#include "DRKDBUtility.h"
#include "Sql.h"

namespace brontelx::bench {
namespace {

namespace fs = std::filesystem;

// The statements of the session start exactly as the library sends them (named parameters become "?").
constexpr char kUserRow[] = "SELECT * FROM UTENTI WHERE CODICE=1";
constexpr char kArchivioLookup[] =
    "SELECT\n  VALORE\nFROM\n  TABQUADREL\nWHERE\n  UTENTE=1\n  AND\n  INTESTAZIONE=?\n  AND\n  PARAMETRO=?";

}  // namespace

SessionDatabases::SessionDatabases()
    : userFolder(fs::read_symlink("/proc/self/exe").parent_path() / "user"), userFile(userFolder / "user.fdb") {
  createdFolder = fs::create_directories(userFolder);
  fs::remove(userFile);  // left behind by an interrupted run
  schema::CreateDatabase(userFile, schema::Kind::UserDirectory, "UTF8");
  db::Connection users;
  OpenIBDatabase(users, userFile.string());
  testing::ExecSql(users, {"INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA) "
                           "VALUES (1, 'Mario', 'ALFA', 'segreta', 'info', 3)"});
  testing::ExecSql(users, {"INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
                           "VALUES (1, 'ALFA', 'Archivio', '" + archive + "', 1)"});
  testing::ExecSql(users, {"INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) "
                           "VALUES (" + std::to_string(kWindowLogId) + ", 'Collaudo', CURRENT_TIMESTAMP)"});
  db::Connection archiveConnection;
  OpenIBDatabase(archiveConnection, archive);
  testing::ExecSql(archiveConnection, {"INSERT INTO STOPOS1 VALUES (2, 1, 541, 40, 30, 520, 360, NULL)"});
}

SessionDatabases::~SessionDatabases() {
  std::error_code ignored;
  fs::remove(userFile, ignored);
  if (createdFolder) fs::remove(userFolder, ignored);
}

FloorSession StartFloorSession(db::Status& status, const std::string& userFile) {
  FloorSession session;
  session.users = floor::Attach(status, userFile);
  // The columns of UTENTI in order: CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA.
  std::int64_t codice = 0;
  std::string password, info2;
  std::int64_t profilo = 0;
  FirstRow(
      status, session.users, kUserRow, [](floor::Message&) {},
      [&](const floor::Message& row) {
        codice = row.Int(0);
        session.name = row.Text(1);
        session.company = row.Text(2);
        password = row.Text(3);
        info2 = row.Text(4);
        profilo = row.Int(5);
      });
  std::string archivio;
  FirstRow(
      status, session.users, kArchivioLookup,
      [&](floor::Message& input) {
        input.SetText(0, session.company);
        input.SetText(1, "Archivio");
      },
      [&](const floor::Message& row) { archivio = row.Text(0); });
  if (codice != kSessionUser || archivio.empty()) throw std::runtime_error("user 1 or its Archivio is missing");
  session.archive = floor::Attach(status, archivio);
  return session;
}

void EndFloorSession(db::Status& status, FloorSession& session) {
  if (session.users) session.users->detach(status.Get());
  session.users = nullptr;
  if (session.archive) session.archive->detach(status.Get());
  session.archive = nullptr;
}

}  // namespace brontelx::bench
