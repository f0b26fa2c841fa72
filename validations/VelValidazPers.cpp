#include "validations/VelValidazPers.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

#include "base/Ascii.h"
#include "database/DRKDBUtility.h"
#include "database/Statement.h"
#include "userdir/DRKTabX.h"

namespace brontelx {
namespace {

// What one run creates, declared so that destruction releases the log query, the delivery-note
// query and the delivery-note connection in that order. The run only reads, so each transaction
// it started is rolled back as soon as its query is released: none outlives the run.
struct VelZidBolRun {
  db::Connection rux;
  std::unique_ptr<db::Transaction> ruxTransaction;
  std::optional<db::Statement> ruxQuery;
  std::unique_ptr<db::Transaction> logTransaction;
  std::optional<db::Statement> logQuery;

  ~VelZidBolRun() {
    EndQuietly(logQuery, logTransaction);
    EndQuietly(ruxQuery, ruxTransaction);
  }

  static void EndQuietly(std::optional<db::Statement>& query, std::unique_ptr<db::Transaction>& transaction) noexcept {
    if (query) query->CloseQuietly();
    if (!transaction || !transaction->Active()) return;
    try {
      transaction->Rollback();
    } catch (...) {
      // Nothing was written; a transaction that cannot be rolled back is already gone.
    }
  }
};

}  // namespace

std::string EseguiValidazPers(db::Connection& Database, const std::string& NomeFunzione, std::int32_t Utente,
                              const std::string& Dato, UnreachableDatabases* unreachable) {
  if (ascii::EqualsIgnoringCase(NomeFunzione, "VelZidBol")) return VelZidBol(Database, Utente, Dato, unreachable);
  return "ERR Funzione non esistente";
}

std::string VelZidBol(db::Connection& Database, std::int32_t Utente, const std::string& Dato,
                      UnreachableDatabases* unreachable) {
  std::string location;
  {
    TDRKTabX tabX;
    tabX.SetDatabase(&Database);
    location = tabX.GetParametroTesto(kVelZidBolDBRux, 0);
  }
  if (location.empty()) return std::string("ERR - Parametro \"") + kVelZidBolDBRux + "\" non configurato.";

  if (unreachable) {
    if (std::optional<std::string> failure = unreachable->Failure(location)) return *failure;
  }
  VelZidBolRun run;
  try {
    OpenIBDatabase(run.rux, location);
  } catch (const std::exception& e) {
    const std::string result = "ERR - Impossibile connettersi al database RUX (" + location + "): " + e.what();
    if (unreachable) unreachable->Remember(location, result);
    return result;
  }
  if (unreachable) unreachable->Forget(location);

  run.ruxTransaction = CreateReadCommittedTransaction(run.rux);
  run.ruxQuery.emplace(&run.rux, run.ruxTransaction.get());
  run.ruxQuery->SetSQL({"SELECT COUNT(*) FROM BOLLE WHERE BOL_COD = :BOL_COD"});
  run.ruxQuery->ParamByName("BOL_COD").SetString(Dato);
  try {
    run.ruxQuery->ExecCount();
    if (run.ruxQuery->FieldAt(0).AsInt64() == 0) return "ERR - Bolletta " + Dato + " non trovata nell'archivio RUX.";
  } catch (const std::exception& e) {
    return std::string("ERR - Errore durante la verifica nel database RUX: ") + e.what();
  }
  run.ruxQuery->Close();

  run.logTransaction = CreateReadCommittedTransaction(Database);
  run.logQuery.emplace(&Database, run.logTransaction.get());
  run.logQuery->SetSQL(
      {"SELECT FIRST 1 DATOINPUT FROM BRONTELLOG WHERE USER_AUTENTICAZ = :USER_AUTENTICAZ ORDER BY ID DESC"});
  run.logQuery->ParamByName("USER_AUTENTICAZ").SetInt(Utente);
  try {
    run.logQuery->ExecQuery();
    if (!run.logQuery->Eof()) {
      std::string latest = run.logQuery->FieldByName("DATOINPUT").AsString();
      std::transform(latest.begin(), latest.end(), latest.begin(), ascii::ToUpper);
      if (latest.find("APERTURA") != std::string::npos) return "OK";
    }
  } catch (const std::exception& e) {
    return std::string("ERR - Errore durante la verifica apertura in BRONTELLOG: ") + e.what();
  }

  run.logQuery->Close();
  run.logQuery->SetSQL(
      {"SELECT COUNT(DISTINCT L1.ID_CATENA) FROM BRONTELLOG L1 WHERE L1.DATOINPUT = :BOLLETTA AND EXISTS (SELECT 1 "
       "FROM BRONTELLOG L2 WHERE L2.ID_CATENA = L1.ID_CATENA AND L2.DATOINPUT = 'APERTURA')"});
  run.logQuery->ParamByName("BOLLETTA").SetString(Dato);
  try {
    run.logQuery->ExecCount();
    if (run.logQuery->FieldAt(0).AsInt64() == 0)
      return "ERR - Bolletta " + Dato + " non associata a nessuna catena di APERTURA.";
  } catch (const std::exception& e) {
    return std::string("ERR - Errore durante la verifica in BRONTELLOG: ") + e.what();
  }
  return "OK";
}

}  // namespace brontelx
