#include "DRKTabX.h"

#include <chrono>
#include <string>
#include <string_view>

#include "DatabaseError.h"
#include "TransactedStatement.h"

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
constexpr auto kConcurrentWriteWait = std::chrono::seconds(10);

// The number of the transaction whose write it met, as the engine's message names it; empty when
// the message names none.
std::string ConcurrentTransaction(const db::DatabaseError& e) {
  static constexpr std::string_view kLabel = "concurrent transaction number is ";
  const std::string_view message = e.what();
  const std::size_t at = message.find(kLabel);
  if (at == std::string_view::npos) return {};
  const std::string_view rest = message.substr(at + kLabel.size());
  return std::string(rest.substr(0, rest.find_first_not_of("0123456789")));
}

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
  // Hosts save the same value at the same time (the settings windows of several workstations). A
  // write that met another one, committed since this transaction began or while this one waited
  // for its lock, is tried again in a new transaction, so that the later write wins instead of
  // failing; for at most kConcurrentWriteWait in all. The engine reports a lock wait that timed out
  // in the same words, so a row is taken as held for good when the same transaction is still in
  // the way after a further whole lock wait: then the save fails.
  const bool ownTransaction = FUpdating == 0;
  const auto start = std::chrono::steady_clock::now();
  std::string lastHolder;
  for (;;) {
    BeginUpdate();
    try {
      SQL.ParamByName("NOME").SetString(Nome);
      SQL.ParamByName("VALORE").SetString(Valore);
      BindUtente(SQL, Utente);
      SQL.ExecQuery();
    } catch (const db::DatabaseError& e) {
      EndUpdateAfterError();
      const std::string holder = ConcurrentTransaction(e);
      const bool heldForGood = holder.empty() || holder == lastHolder;
      if (!ownTransaction || !e.IsWriteConflict() || heldForGood ||
          std::chrono::steady_clock::now() - start >= kConcurrentWriteWait)
        throw;
      lastHolder = holder;
      continue;
    } catch (...) {
      EndUpdateAfterError();
      throw;
    }
    EndUpdate();
    return;
  }
}

void TDRKTabX::SetParametroTesto(const std::string& Nome, const std::string& Valore, std::int32_t Utente) {
  SetParametro(GetSQLWriteTesto(), Nome, Utente, Valore);
}

void TDRKTabX::SetParametroMemo(const std::string& Nome, const std::string& Valore, std::int32_t Utente) {
  SetParametro(GetSQLWriteMemo(), Nome, Utente, Valore);
}

}  // namespace brontelx
