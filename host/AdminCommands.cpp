#include "host/AdminCommands.h"

#include <exception>
#include <iostream>
#include <vector>

#include "database/TransactedStatement.h"
#include "host/DatabaseContext.h"
#include "host/SessionStart.h"
#include "host/TerminalText.h"
#include "session/BrontelX.Classes.h"
#include "validations/VelValidazPers.h"

namespace brontelx::cli {
namespace {

std::vector<std::int32_t> UserCodes(db::Connection& userDirectory) {
  db::TransactedStatement statement(userDirectory, db::TransactedStatement::DefaultParams(),
                                    db::TransactedStatement::End::Rollback, false);
  statement.Query().SetSQL({"SELECT CODICE FROM UTENTI ORDER BY CODICE"});
  statement.Query().ExecQuery();
  std::vector<std::int32_t> codes;
  for (; !statement.Query().Eof(); statement.Query().Next()) codes.push_back(statement.Query().FieldAt(0).AsInteger());
  statement.Finish();
  return codes;
}

}  // namespace

int RunUsers(std::ostream& out) {
  TDRKUser users;
  try {
    users.ConnettiDB();
  } catch (const std::exception& e) {
    throw UnreachableDatabase("cannot attach the user directory", TDRKUser::DefaultFileName(), e.what());
  }
  out << "code\tname\tcompany\tArchivio\n";
  for (const std::int32_t code : UserCodes(users.DBUser())) {
    // The same lookups as a session's: the user's row, then "Archivio" under the user's company.
    users.SetCodiceUtente(code);
    out << code << "\t" << Escaped(users.NomeUtente()) << "\t" << Escaped(users.DittaUtente()) << "\t"
        << Escaped(users.GetParamQuadrel("Archivio")) << "\n";
  }
  return 0;
}

int RunLocation(std::int32_t user, const std::optional<std::string>& text, std::ostream& out) {
  TSessione session;
  StartSession(session, user);
  if (text) {
    session.DRKTabX().SetParametroTesto(kVelZidBolDBRux, *text, 0);
    out << kVelZidBolDBRux << " stored: " << Escaped(*text) << "\n";
    return 0;
  }
  const std::string location = session.DRKTabX().GetParametroTesto(kVelZidBolDBRux, 0);
  if (location.empty()) {
    std::cerr << "brontelx: " << kVelZidBolDBRux << " is not set in " << Escaped(session.Parametri().Archivio()) << "\n";
    return 1;
  }
  out << Escaped(location) << "\n";
  return 0;
}

}  // namespace brontelx::cli
