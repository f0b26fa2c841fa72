#include "DemoData.h"

#include <fstream>

#include "DRKDBUtility.h"
#include "DRKTabX.h"
#include "DRKUser.h"
#include "Error.h"
#include "SchemaDatabase.h"
#include "TransactedStatement.h"

namespace brontelx::demo {
namespace {

namespace fs = std::filesystem;

// A demo database replaces only an earlier demo's file: the marker beside it says the demo made it.
std::string Create(const fs::path& file, schema::Kind kind) {
  fs::create_directories(file.parent_path());
  const fs::path marker = file.string() + ".demo";
  if (fs::exists(file)) {
    if (!fs::exists(marker))
      throw Error(file.string() + " exists and was not created by the demo: it is left as it is");
    fs::remove(file);
  }
  schema::CreateDatabase(file, kind, "UTF8");
  std::ofstream(marker) << "created by brontelx demo\n";
  return file.string();
}

void Exec(db::Connection& connection, const std::string& sql) {
  db::TransactedStatement statement(connection, {}, db::TransactedStatement::End::Commit, false);
  statement.Query().SetSQL({sql});
  statement.Query().ExecQuery();
  statement.Finish();
}

}  // namespace

DemoFiles CreateDemoDatabases(const fs::path& folder) {
  const fs::path exeFolder = fs::read_symlink("/proc/self/exe").parent_path();
  DemoFiles files{Create(exeFolder / "user" / "user.fdb", schema::Kind::UserDirectory),
                  Create(folder / "archivio.fdb", schema::Kind::Archive),
                  Create(folder / "rux.fdb", schema::Kind::DeliveryNotes)};

  {
    TDRKUser users;
    users.ConnettiDB(files.userDirectory);
    Exec(users.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
                         "VALUES (1, 'Mario Rossi', 'DEMO SRL', 'mario', 1)");
    Exec(users.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
                         "VALUES (2, 'Anna Bianchi', 'DEMO SRL', 'anna', 2)");
    Exec(users.DBUser(), "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE) VALUES (100, 'Collaudo Personalizzazioni')");
    for (const int code : {1, 2}) {
      users.SetCodiceUtente(code);
      users.BeginUpdate();
      users.SetParamQuadrel("Archivio", files.archive);
      users.SetParamQuadrel("Directory bin", exeFolder.string());
      users.EndUpdate();
    }
  }
  {
    db::Connection archive;
    OpenIBDatabase(archive, files.archive);
    TDRKTabX tabX;
    tabX.SetDatabase(&archive);
    tabX.SetParametroTesto("VelZidBolDBRux", files.deliveryNotes, 0);
    // Chain 1 of user 1 is opened and holds BOL-1001; chain 2 has no opening; user 2 has just
    // opened a chain.
    const char* const entries[] = {"(1, 1, 'APERTURA', 1)", "(2, 1, 'BOL-1001', 1)", "(3, 2, 'BOL-1002', 1)",
                                   "(4, 3, 'APERTURA', 2)"};
    for (const char* entry : entries) {
      Exec(archive, std::string("INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES ") + entry);
    }
  }
  {
    db::Connection rux;
    OpenIBDatabase(rux, files.deliveryNotes);
    for (const char* code : {"BOL-1001", "BOL-1002", "BOL-1003"}) {
      Exec(rux, std::string("INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('") + code +
                    "', CURRENT_DATE, 'Cliente demo')");
    }
  }
  return files;
}

}  // namespace brontelx::demo
