#pragma once

#include <string>
#include <vector>

#include "FbHandle.h"

namespace brontelx::db {

class Connection;
class Statement;

// A transaction on one connection. Its parameter list names transaction parameter items, one a
// line, with or without the "isc_tpb_" prefix ("lock_read=TABLE" and "lock_timeout=SECONDS" carry a
// value). An empty list sends no parameter block, so the server's defaults apply.
// Released while active, it commits.
class Transaction {
 public:
  explicit Transaction(Connection* defaultDatabase = nullptr);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  std::vector<std::string>& Params() { return params_; }
  const std::vector<std::string>& Params() const { return params_; }
  Connection* DefaultDatabase() const { return database_; }
  void SetDefaultDatabase(Connection* database);

  void StartTransaction();
  // Both close the cursors still open in the transaction first. A failed commit leaves the
  // transaction active; after a failed rollback it is gone.
  void Commit();
  void Rollback();
  bool Active() const { return static_cast<bool>(handle_); }

  // Layer internals.
  Firebird::ITransaction* Handle() const;
  // The statements that run in this transaction, whose cursors close before it ends.
  void AddDependent(Statement* statement);
  void RemoveDependent(Statement* statement);
  // Called by a closing connection: commits, or rolls back when the commit fails.
  void EndOnClose() noexcept;

 private:
  // The parameter block of the current list, built again only when the list has changed.
  const std::vector<unsigned char>& Tpb();
  void CloseCursors();

  std::vector<std::string> params_;
  std::vector<std::string> tpbParams_;
  std::vector<unsigned char> tpb_;
  Connection* database_ = nullptr;
  FbHandle<Firebird::ITransaction> handle_;
  std::vector<Statement*> statements_;
};

}  // namespace brontelx::db
