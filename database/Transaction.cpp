#include "Transaction.h"

#include "Connection.h"
#include "DatabaseError.h"
#include "Dependents.h"
#include "ParamLines.h"
#include "Statement.h"
#include "TpbItems.h"

namespace brontelx::db {

Transaction::Transaction(Connection* defaultDatabase) { SetDefaultDatabase(defaultDatabase); }

Transaction::~Transaction() {
  EndOnClose();
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->SetTransaction(nullptr);
  SetDefaultDatabase(nullptr);
}

void Transaction::SetDefaultDatabase(Connection* database) {
  if (database == database_) return;
  if (Active()) throw DatabaseError("Cannot change the database of an active transaction");
  MoveDependent(this, database_, database);
}

const std::vector<unsigned char>& Transaction::Tpb() {
  if (params_ != tpbParams_) {
    if (params_.empty()) {
      tpb_.clear();
    } else {
      ParamBlock block(Firebird::IXpbBuilder::TPB);
      AddParamLines(block, params_, tpb::Lookup, "transaction");
      tpb_ = block.Bytes();
    }
    tpbParams_ = params_;
  }
  return tpb_;
}

void Transaction::StartTransaction() {
  if (Active()) throw DatabaseError("Transaction is active");
  if (!database_) throw DatabaseError("Transaction has no database");
  Firebird::IAttachment* attachment = database_->Attachment();
  const std::vector<unsigned char>& tpb = Tpb();
  Status status(database_);
  handle_ = FbHandle<Firebird::ITransaction>(
      attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()));
}

Firebird::ITransaction* Transaction::Handle() const {
  if (!handle_) throw DatabaseError("Transaction not active");
  return handle_.get();
}

void Transaction::CloseCursors() {
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->CloseQuietly();
}

void Transaction::Commit() {
  Handle();
  CloseCursors();
  Status status(database_);
  handle_.EndOrKeep(status, &Firebird::ITransaction::commit<Status>);
}

void Transaction::Rollback() {
  Handle();
  CloseCursors();
  Status status(database_);
  handle_.End(status, &Firebird::ITransaction::rollback<Status>);
}

void Transaction::EndOnClose() noexcept {
  if (!handle_) return;
  try {
    Commit();
  } catch (...) {
    try {
      Rollback();
    } catch (...) {
      // The rollback let go of the transaction anyway.
    }
  }
}

void Transaction::AddDependent(Statement* statement) { statements_.push_back(statement); }
void Transaction::RemoveDependent(Statement* statement) { EraseDependent(statements_, statement); }

}  // namespace brontelx::db
