#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "database/Statement.h"
#include "database/Transaction.h"

namespace brontelx {

// Named values of table TABX: a name, an optional owner user (0 = shared by all users) and two
// text slots, TESTO and MEMO. The transaction and the three statements are created on first use
// and reused for the object's life, so no call prepares a statement again; outside a batch each call
// still starts and commits a transaction of its own around its one execution.
class TDRKTabX {
 public:
  TDRKTabX() = default;
  TDRKTabX(const TDRKTabX&) = delete;
  TDRKTabX& operator=(const TDRKTabX&) = delete;

  // Not owned; must be set and connected before the first read or write. The transaction and the
  // statements keep the database they were created with.
  db::Connection* Database() const { return FDatabase; }
  void SetDatabase(db::Connection* Value) { FDatabase = Value; }

  // A batch: the outermost pair brackets one transaction, committed by the outermost EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  std::string GetParametroTesto(const std::string& Nome, std::int32_t Utente);
  std::string GetParametroMemo(const std::string& Nome, std::int32_t Utente);
  void SetParametroTesto(const std::string& Nome, const std::string& Valore, std::int32_t Utente);
  void SetParametroMemo(const std::string& Nome, const std::string& Valore, std::int32_t Utente);

 private:
  db::Transaction& GetTransaction();
  db::Statement& GetSQLRead();
  db::Statement& GetSQLWriteTesto();
  db::Statement& GetSQLWriteMemo();
  std::unique_ptr<db::Statement> NewStatement(std::vector<std::string> lines);
  std::string GetParametro(const std::string& Nome, std::int32_t Utente, const char* Colonna);
  void SetParametro(db::Statement& SQL, const std::string& Nome, std::int32_t Utente, const std::string& Valore);
  void EndUpdateAfterError() noexcept;

  std::int32_t FUpdating = 0;
  db::Connection* FDatabase = nullptr;
  // Declared before the statements, which are therefore destroyed before it.
  std::unique_ptr<db::Transaction> FTransaction;
  std::unique_ptr<db::Statement> FSQLRead;
  std::unique_ptr<db::Statement> FSQLWriteTesto;
  std::unique_ptr<db::Statement> FSQLWriteMemo;
};

}  // namespace brontelx
