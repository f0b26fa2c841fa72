#include "Transaction.h"

#include <algorithm>
#include <memory>

#include "Connection.h"
#include "DatabaseError.h"
#include "FbClient.h"
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
  if (database_) database_->Detach(this);
  database_ = database;
  if (database_) database_->Attach(this);
}

std::vector<unsigned char> Transaction::BuildTpb() const {
  if (params_.empty()) return {};
  Status status;
  Firebird::IXpbBuilder* builder = Util()->getXpbBuilder(status.Get(), Firebird::IXpbBuilder::TPB, nullptr, 0);
  status.Check();
  std::unique_ptr<Firebird::IXpbBuilder, void (*)(Firebird::IXpbBuilder*)> guard(
      builder, [](Firebird::IXpbBuilder* b) { b->dispose(); });
  for (const std::string& line : params_) {
    const auto eq = line.find('=');
    const std::string name = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    if (tpb::IsVersionItem(name)) continue;
    const std::optional<int> item = tpb::ItemNumber(name);
    if (!item) throw DatabaseError("Unknown transaction parameter \"" + line + "\"");
    const auto tag = static_cast<unsigned char>(*item);
    if (*item == isc_tpb_lock_read || *item == isc_tpb_lock_write) {
      builder->insertString(status.Get(), tag, value.c_str());
    } else if (*item == isc_tpb_lock_timeout) {
      int seconds = 0;
      try {
        seconds = std::stoi(value);
      } catch (const std::exception&) {
        throw DatabaseError("Invalid transaction parameter \"" + line + "\"");
      }
      builder->insertInt(status.Get(), tag, seconds);
    } else {
      builder->insertTag(status.Get(), tag);
    }
    status.Check();
  }
  const unsigned char* buffer = builder->getBuffer(status.Get());
  const unsigned length = builder->getBufferLength(status.Get());
  status.Check();
  return std::vector<unsigned char>(buffer, buffer + length);
}

const std::vector<unsigned char>& Transaction::Tpb() {
  if (params_ != tpbParams_) {
    tpb_ = BuildTpb();
    tpbParams_ = params_;
  }
  return tpb_;
}

void Transaction::StartTransaction() {
  if (Active()) throw DatabaseError("Transaction is active");
  if (!database_) throw DatabaseError("Transaction has no database");
  Firebird::IAttachment* attachment = database_->Attachment();
  const std::vector<unsigned char>& tpb = Tpb();
  Status status;
  Firebird::ITransaction* handle =
      attachment->startTransaction(status.Get(), static_cast<unsigned>(tpb.size()), tpb.data());
  status.Check();
  handle_ = handle;
}

Firebird::ITransaction* Transaction::Handle() const {
  if (!handle_) throw DatabaseError("Transaction not active");
  return handle_;
}

void Transaction::CloseCursors() {
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->CloseQuietly();
}

void Transaction::Commit() {
  Firebird::ITransaction* handle = Handle();
  CloseCursors();
  Status status;
  handle->commit(status.Get());
  status.Check();
  handle_ = nullptr;
}

void Transaction::Rollback() {
  Firebird::ITransaction* handle = Handle();
  CloseCursors();
  Status status;
  handle->rollback(status.Get());
  if (status.Failed()) {
    // A transaction that cannot be rolled back is gone for good (lost connection): let it go.
    handle->release();
    handle_ = nullptr;
    status.Check();
  }
  handle_ = nullptr;
}

void Transaction::EndOnClose() noexcept {
  if (!handle_) return;
  try {
    Commit();
  } catch (...) {
    try {
      Rollback();
    } catch (...) {
      // Rollback released the handle already.
    }
  }
}

void Transaction::Attach(Statement* statement) { statements_.push_back(statement); }
void Transaction::Detach(Statement* statement) {
  statements_.erase(std::remove(statements_.begin(), statements_.end(), statement), statements_.end());
}

}  // namespace brontelx::db
