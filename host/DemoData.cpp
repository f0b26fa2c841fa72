#include "host/DemoData.h"

#include <filesystem>

#include "database/DRKDBUtility.h"
#include "database/TransactedStatement.h"
#include "schema/SchemaDatabase.h"
#include "userdir/DRKTabX.h"
#include "userdir/DRKUser.h"
#include "validations/VelValidazPers.h"

namespace brontelx::cli {
namespace {

void Exec(db::Connection& connection, const std::string& sql) {
  db::TransactedStatement statement(connection, {}, db::TransactedStatement::End::Commit, false);
  statement.Query().SetSQL({sql});
  statement.Query().ExecQuery();
  statement.Finish();
}

// The file itself: a dati.ini beside a file being built must not send its rows elsewhere.
TDBConnectionInfo Plain(const std::string& file) {
  TDBConnectionInfo info;
  info.FileName = file;
  return info;
}

void FillUserDirectory(const std::string& file, const DemoFiles& names) {
  TDRKUser users;
  users.ConnettiDB(Plain(file));
  Exec(users.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
                       "VALUES (1, 'Mario Rossi', 'DEMO SRL', 'mario', 1)");
  Exec(users.DBUser(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
                       "VALUES (2, 'Anna Bianchi', 'DEMO SRL', 'anna', 2)");
  // The host logs a window before it asks the library to open it; the window records its handle here.
  Exec(users.DBUser(), "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) "
                       "VALUES (100, 'Collaudo Personalizzazioni', CURRENT_TIMESTAMP)");
  Exec(users.DBUser(), "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) "
                       "VALUES (101, 'VelDatiValidazPers', CURRENT_TIMESTAMP)");
  const std::string binFolder = ProgramsFolder(names);
  for (const int code : {1, 2}) {
    users.SetCodiceUtente(code);
    users.BeginUpdate();
    users.SetParamQuadrel("Archivio", names.archive);
    users.SetParamQuadrel("Directory bin", binFolder);
    users.EndUpdate();
  }
}

void FillArchive(const std::string& file, const DemoFiles& names) {
  db::Connection archive;
  OpenIBDatabase(archive, Plain(file));
  TDRKTabX tabX;
  tabX.SetDatabase(&archive);
  tabX.SetParametroTesto(kVelZidBolDBRux, names.deliveryNotes, 0);
  // Chain 1 of user 1 is opened and holds BOL-1001; chain 2 has no opening; user 2 has just
  // opened a chain.
  const char* const entries[] = {"(1, 1, 'APERTURA', 1)", "(2, 1, 'BOL-1001', 1)", "(3, 2, 'BOL-1002', 1)",
                                 "(4, 3, 'APERTURA', 2)"};
  for (const char* entry : entries) {
    Exec(archive, std::string("INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES ") + entry);
  }
  // Where user 1's test window (situation 2, project 541) reopens.
  Exec(archive, "INSERT INTO STOPOS1 (CodiceSituazione, CodiceUtente, CodiceProgetto, PosX, PosY, DimX, DimY) "
                "VALUES (2, 1, 541, 120, 90, 540, 360)");
}

void FillDeliveryNotes(const std::string& file) {
  db::Connection rux;
  OpenIBDatabase(rux, Plain(file));
  for (const char* code : {"BOL-1001", "BOL-1002", "BOL-1003"}) {
    Exec(rux, std::string("INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('") + code +
                  "', CURRENT_DATE, 'Cliente demo')");
  }
}

}  // namespace

std::string ProgramsFolder(const DemoFiles& names) {
  return std::filesystem::path(names.userDirectory).parent_path().parent_path().string();
}

void CreateDemoDatabases(const DemoFiles& files, const DemoFiles& names) {
  schema::CreateDatabase(files.userDirectory, schema::Kind::UserDirectory, "UTF8");
  schema::CreateDatabase(files.archive, schema::Kind::Archive, "UTF8");
  schema::CreateDatabase(files.deliveryNotes, schema::Kind::DeliveryNotes, "UTF8");
  FillUserDirectory(files.userDirectory, names);
  FillArchive(files.archive, names);
  FillDeliveryNotes(files.deliveryNotes);
}

}  // namespace brontelx::cli
