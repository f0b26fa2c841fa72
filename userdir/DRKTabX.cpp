#include "userdir/DRKTabX.h"

#include <chrono>
#include <string>

#include "database/WriteConflictRetry.h"

namespace brontelx {
namespace {

// The write statement of one slot: MERGE on (NOME, UTENTE), NULL owners counting as equal.
std::vector<std::string> WriteLines(const std::string& column) {
  return {"MERGE INTO TABX A",
          "USING(",
          "  SELECT",
          "    CAST(:NOME AS VARCHAR(64)) AS NOME",
          "  FROM",
          "    RDB$DATABASE",
          ") B ON",
          "A.NOME=B.NOME",
          "AND",
          "A.UTENTE IS NOT DISTINCT FROM :UTENTE",
          "WHEN MATCHED THEN UPDATE SET",
          "A." + column + "=:VALORE",
          "WHEN NOT MATCHED THEN INSERT(",
          "CODICE,",
          "NOME,",
          column + ",",
          "UTENTE",
          ")",
          "VALUES(",
          "GEN_ID(CODICETABXCOUNTER,1),",
          ":NOME,",
          ":VALORE,",
          ":UTENTE",
          ")"};
}

constexpr auto kLockWait = std::chrono::seconds(2);

// Hosts save the same value at the same time (the settings windows of several workstations). A
// write that met another one, committed since its transaction began or while it waited for its
// lock (kLockWait), is tried again at once in a new transaction, so that the later write wins
// instead of failing, for at most 10 seconds in all. A row held by the same transaction after a
// further whole lock wait is held for good: then the save fails.
constexpr db::WriteConflictPolicy kConcurrentWrite{.retryFor = std::chrono::seconds(10), .newHolderOnly = true};

// Owner 0 addresses the shared value, stored with a NULL owner.
void BindUtente(db::Statement& SQL, std::int32_t Utente) {
  if (Utente == 0) {
    SQL.ParamByName("UTENTE").SetNull();
  } else {
    SQL.ParamByName("UTENTE").SetInt(Utente);
  }
}

}  // namespace

db::Transaction& TDRKTabX::GetTransaction() {
  if (!FTransaction) {
    FTransaction = std::make_unique<db::Transaction>(FDatabase);
    // A write waits a little for another connection's write of the same row to end, rather than
    // failing at once or hanging the window behind a row held for good.
    FTransaction->Params() = {"concurrency", "wait", "lock_timeout=" + std::to_string(kLockWait.count())};
  }
  return *FTransaction;
}

std::unique_ptr<db::Statement> TDRKTabX::NewStatement(std::vector<std::string> lines) {
  auto statement = std::make_unique<db::Statement>(FDatabase, &GetTransaction());
  statement->SetParamCheck(true);
  statement->SetSQL(std::move(lines));
  return statement;
}

db::Statement& TDRKTabX::GetSQLRead() {
  if (!FSQLRead) {
    FSQLRead = NewStatement({"SELECT", "  TESTO,", "  MEMO", "FROM", "  TABX", "WHERE", "  NOME=:NOME", "  AND",
                             "  UTENTE IS NOT DISTINCT FROM :UTENTE"});
  }
  return *FSQLRead;
}

db::Statement& TDRKTabX::GetSQLWriteTesto() {
  if (!FSQLWriteTesto) FSQLWriteTesto = NewStatement(WriteLines("TESTO"));
  return *FSQLWriteTesto;
}

db::Statement& TDRKTabX::GetSQLWriteMemo() {
  if (!FSQLWriteMemo) FSQLWriteMemo = NewStatement(WriteLines("MEMO"));
  return *FSQLWriteMemo;
}

void TDRKTabX::BeginUpdate() {
  if (FUpdating == 0) GetTransaction().StartTransaction();
  ++FUpdating;
}

void TDRKTabX::EndUpdate() {
  if (FUpdating == 0) return;  // unpaired: nothing is open
  if (--FUpdating > 0) return;
  db::Transaction& transaction = GetTransaction();
  try {
    transaction.Commit();
  } catch (...) {
    // Leave no transaction behind, so the next batch can start.
    if (transaction.Active()) {
      try {
        transaction.Rollback();
      } catch (...) {
      }
    }
    throw;
  }
}

void TDRKTabX::EndUpdateAfterError() noexcept {
  try {
    EndUpdate();
  } catch (...) {
    // The error that brought us here is the one the caller gets.
  }
}

std::string TDRKTabX::GetParametro(const std::string& Nome, std::int32_t Utente, const char* Colonna) {
  BeginUpdate();
  std::string result;
  try {
    db::Statement& SQL = GetSQLRead();
    SQL.ParamByName("NOME").SetString(Nome);
    BindUtente(SQL, Utente);
    SQL.ExecQuery();
    if (!SQL.Eof()) result = SQL.FieldByName(Colonna).AsString();
    SQL.Close();
  } catch (...) {
    EndUpdateAfterError();
    throw;
  }
  EndUpdate();
  return result;
}

std::string TDRKTabX::GetParametroTesto(const std::string& Nome, std::int32_t Utente) {
  return GetParametro(Nome, Utente, "TESTO");
}

std::string TDRKTabX::GetParametroMemo(const std::string& Nome, std::int32_t Utente) {
  return GetParametro(Nome, Utente, "MEMO");
}

void TDRKTabX::SetParametro(db::Statement& SQL, const std::string& Nome, std::int32_t Utente,
                            const std::string& Valore) {
  // Inside a caller's batch the transaction is the caller's: it cannot be started again.
  const db::WriteConflictPolicy policy = FUpdating == 0 ? kConcurrentWrite : db::WriteConflictPolicy{};
  db::RetryOnWriteConflict(policy, [&] {
    BeginUpdate();
    try {
      SQL.ParamByName("NOME").SetString(Nome);
      SQL.ParamByName("VALORE").SetString(Valore);
      BindUtente(SQL, Utente);
      SQL.ExecQuery();
    } catch (...) {
      EndUpdateAfterError();
      throw;
    }
    EndUpdate();
  });
}

void TDRKTabX::SetParametroTesto(const std::string& Nome, const std::string& Valore, std::int32_t Utente) {
  SetParametro(GetSQLWriteTesto(), Nome, Utente, Valore);
}

void TDRKTabX::SetParametroMemo(const std::string& Nome, const std::string& Valore, std::int32_t Utente) {
  SetParametro(GetSQLWriteMemo(), Nome, Utente, Valore);
}

}  // namespace brontelx
