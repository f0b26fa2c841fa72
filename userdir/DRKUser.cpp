#include "userdir/DRKUser.h"

#include <chrono>

#include "base/Error.h"
#include "base/ExecutableFile.h"
#include "base/Utf8Path.h"
#include "database/DRKDBUtility.h"
#include "database/TransactedStatement.h"
#include "database/WriteConflictRetry.h"

namespace brontelx {

using db::TransactedStatement;

TDRKUser::TDRKUser() : FDBUser(std::make_unique<db::Connection>()) {}

std::string TDRKUser::DefaultFileName() {
  return PathToUtf8(ExecutableFile().parent_path() / "user" / "user.fdb");
}

void TDRKUser::ConnettiDB() { ConnettiDB(DefaultFileName()); }

void TDRKUser::ConnettiDB(const std::string& FileName) { OpenIBDatabase(*FDBUser, FileName); }

void TDRKUser::ConnettiDB(const TDBConnectionInfo& DBConnectionInfo) { OpenIBDatabase(*FDBUser, DBConnectionInfo); }

void TDRKUser::SetCodiceUtente(std::int32_t Valore) {
  TransactedStatement sql(*FDBUser, TransactedStatement::DefaultParams(), TransactedStatement::End::Rollback, false);
  db::Statement& query = sql.Query();
  query.SetSQL({"SELECT * FROM UTENTI WHERE CODICE=" + std::to_string(Valore)});
  query.ExecQuery();
  if (query.Eof()) throw Error("Utente " + std::to_string(Valore) + " non trovato");
  // Read every column before changing a field, so a failed read leaves the previous user whole.
  const std::int32_t codice = query.FieldByName("CODICE").AsInteger();
  std::string nome = query.FieldByName("NOMEUTENTE").AsString();
  std::string ditta = query.FieldByName("DITTA").AsString();
  std::string password = query.FieldByName("PWDUTENTE").AsString();
  std::string info2 = query.FieldByName("INFO2").AsString();
  const auto profilo = static_cast<std::int16_t>(query.FieldByName("PROFILOSICUREZZA").AsInt64());
  sql.Finish();
  FCodiceUtente = codice;
  FNomeUtente = std::move(nome);
  FDittaUtente = std::move(ditta);
  FPasswordUtente = std::move(password);
  FInfo2 = std::move(info2);
  FProfiloSicurezza = profilo;
}

void TDRKUser::CheckPassword(const std::string& Valore) const {
  if (Valore != FPasswordUtente) throw Error("Password errata");
}

void TDRKUser::CheckUtenteDitta(std::int32_t AUtente, const std::string& ADitta) {
  TransactedStatement sql(*FDBUser, TransactedStatement::SnapshotParams(), TransactedStatement::End::Rollback, true);
  db::Statement& query = sql.Query();
  query.SetSQL({"SELECT COUNT(*) FROM TABQUADREL WHERE UTENTE=:UTENTE AND INTESTAZIONE=:INTESTAZIONE"});
  query.ParamByName("UTENTE").SetInt(AUtente);
  query.ParamByName("INTESTAZIONE").SetString(ADitta);
  query.ExecQuery();
  if (query.FieldAt(0).AsInt64() > 0) {
    sql.Finish();
    return;
  }
  query.Close();
  query.SetSQL({"SELECT COUNT(*) FROM TABQUADREL WHERE UTENTE=:UTENTE"});
  query.ParamByName("UTENTE").SetInt(AUtente);
  query.ExecQuery();
  if (query.FieldAt(0).AsInt64() > 0)
    throw Error("Ditta \"" + ADitta + "\" non trovata nell'utente " + std::to_string(AUtente));
  throw Error("Utente " + std::to_string(AUtente) + " non trovato");
}

void TDRKUser::ScritturaHandleDiApertura(std::int32_t IdFinestra, std::uintptr_t Handle) {
  // The row is the host's: another window or host may be writing it at the same moment. Such a
  // write ends within milliseconds, so a conflict with it is tried again for a short while.
  constexpr db::WriteConflictPolicy kHostsRow{.retryFor = std::chrono::seconds(2),
                                              .pause = std::chrono::milliseconds(50)};
  db::RetryOnWriteConflict(kHostsRow, [&] {
    TransactedStatement sql(*FDBUser, TransactedStatement::SnapshotParams(), TransactedStatement::End::Commit, false);
    sql.Query().SetSQL({"UPDATE TELVILOGFUNZ SET", "HANDLEFINESTRA=" + std::to_string(Handle), "WHERE",
                        "  IDFINESTRA=" + std::to_string(IdFinestra)});
    sql.Query().ExecQuery();
    sql.Finish();
  });
}

}  // namespace brontelx
