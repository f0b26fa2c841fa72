#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <string>
#include <vector>

#include "database/FbHandle.h"

namespace brontelx::db {

class Connection;
class ConnectionCore;
class Statement;
template <typename Owner>
class Tie;
template <typename Owner>
class Ties;

// A transaction on one connection, made from it and tied to it: a connection that closes ends it
// (it commits, or rolls back when the commit fails), and once the connection is gone
// DefaultDatabase() is null and starting it fails. Its parameter list names transaction parameter
// items, one a line, with or without the "isc_tpb_" prefix ("lock_read=TABLE" and
// "lock_timeout=SECONDS" carry a value). An empty list sends no parameter block, so the server's
// defaults apply. Released while active, it commits.
class Transaction {
 public:
  explicit Transaction(Connection* defaultDatabase);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  std::vector<std::string>& Params() { return params_; }
  const std::vector<std::string>& Params() const { return params_; }
  Connection* DefaultDatabase() const;

  void StartTransaction();
  // Both close the cursors still open in the transaction first. A failed commit leaves the
  // transaction active; after a failed rollback it is gone.
  void Commit();
  void Rollback();
  bool Active() const { return static_cast<bool>(handle_); }

 private:
  // For the statements that run in this transaction: its handle (raises when not active), and
  // their ties, through which their cursors close before it ends.
  friend class Statement;
  Firebird::ITransaction* Handle() const;
  Ties<Transaction>& Statements() { return *statements_; }

  // The parameter block of the current list, built again only when the list has changed.
  const std::vector<unsigned char>& Tpb();
  // Commits, or rolls back when the commit fails.
  void EndOnClose() noexcept;

  std::vector<std::string> params_;
  std::vector<std::string> tpbParams_;
  std::vector<unsigned char> tpb_;
  std::unique_ptr<Ties<Transaction>> statements_;
  std::unique_ptr<Tie<ConnectionCore>> database_;
  FbHandle<Firebird::ITransaction> handle_;
};

}  // namespace brontelx::db
