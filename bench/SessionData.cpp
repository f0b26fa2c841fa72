#include "bench/SessionData.h"

#include <system_error>

#include "database/DRKDBUtility.h"
#include "tests/support/Sql.h"

namespace brontelx::bench {
namespace fs = std::filesystem;

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

}  // namespace brontelx::bench
