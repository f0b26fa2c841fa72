#include "database/Transaction.h"

#include "database/Connection.h"
#include "database/DatabaseError.h"
#include "database/internal/ConnectionCore.h"
#include "database/internal/ParamLines.h"
#include "database/internal/Tie.h"
#include "database/internal/TpbItems.h"

namespace brontelx::db {

Transaction::Transaction(Connection* defaultDatabase)
    : statements_(std::make_unique<Ties<Transaction>>(*this)),
      database_(std::make_unique<Tie<ConnectionCore>>(
          defaultDatabase ? &defaultDatabase->Core().Transactions() : nullptr, [this] { EndOnClose(); })) {}

Transaction::~Transaction() { EndOnClose(); }

Connection* Transaction::DefaultDatabase() const {
  ConnectionCore* core = database_->Get();
  return core ? &core->Owner() : nullptr;
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
  ConnectionCore* core = database_->Get();
  if (!core) throw DatabaseError("Transaction has no database");
  Firebird::IAttachment* attachment = core->Attachment();
  const std::vector<unsigned char>& tpb = Tpb();
  Status status(&core->GetWire());
  handle_ = FbHandle<Firebird::ITransaction>(
      attachment->startTransaction(&status, static_cast<unsigned>(tpb.size()), tpb.data()));
}

Firebird::ITransaction* Transaction::Handle() const {
  if (!handle_) throw DatabaseError("Transaction not active");
  return handle_.get();
}

void Transaction::Commit() {
  Handle();
  statements_->EndAll();
  ConnectionCore* core = database_->Get();
  Status status(core ? &core->GetWire() : nullptr);
  handle_.EndOrKeep(status, &Firebird::ITransaction::commit<Status>);
}

void Transaction::Rollback() {
  Handle();
  statements_->EndAll();
  ConnectionCore* core = database_->Get();
  Status status(core ? &core->GetWire() : nullptr);
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

}  // namespace brontelx::db
