#pragma once

#include <firebird/Interface.h>

#include <optional>

#include "database/FbHandle.h"
#include "database/internal/CharsetPolicy.h"
#include "database/internal/Tie.h"
#include "database/internal/Wire.h"

namespace brontelx::db {

class Connection;

// Layer internal. What the transactions and statements made from a connection use: the
// attachment, its wire and character-set policy, and the ties through which the connection ends
// them before it detaches.
class ConnectionCore {
 public:
  explicit ConnectionCore(Connection& owner) : statements_(*this), transactions_(*this), owner_(owner) {}

  Connection& Owner() const { return owner_; }
  // Raise DatabaseError when the connection is not open, or a call on it was cut.
  Firebird::IAttachment* Attachment();
  CharsetPolicy& Charsets();
  Wire& GetWire() { return wire_; }
  Ties<ConnectionCore>& Statements() { return statements_; }
  Ties<ConnectionCore>& Transactions() { return transactions_; }

  // Takes over a new attachment to `server` (empty for a local file).
  void Attach(FbHandle<Firebird::IAttachment> attachment, std::string server);
  bool Attached() const { return static_cast<bool>(attachment_); }
  // Frees the statements, ends the transactions (see Transaction), then detaches (a cut attachment
  // is let go without a word).
  void Detach();
  // Ends the dependents, then deletes the database (a failure lets go of the attachment anyway).
  void Drop();

 private:
  Ties<ConnectionCore> statements_;
  Ties<ConnectionCore> transactions_;
  Connection& owner_;
  FbHandle<Firebird::IAttachment> attachment_;
  Wire wire_;
  std::optional<CharsetPolicy> charsets_;
};

}  // namespace brontelx::db
