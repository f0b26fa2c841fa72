#include "Connection.h"

#include <algorithm>
#include <memory>

#include "DatabaseError.h"
#include "FbClient.h"
#include "Statement.h"
#include "Transaction.h"

namespace brontelx::db {
namespace {

struct DpbItem {
  const char* name;
  unsigned char tag;
};

// The attach items a parameter line may name.
constexpr DpbItem kDpbItems[] = {
    {"user_name", isc_dpb_user_name},
    {"password", isc_dpb_password},
    {"lc_ctype", isc_dpb_lc_ctype},
    {"sql_role_name", isc_dpb_sql_role_name},
};

template <typename T>
void Remove(std::vector<T*>& items, T* item) {
  items.erase(std::remove(items.begin(), items.end(), item), items.end());
}

}  // namespace

Connection::Connection() = default;

Connection::~Connection() {
  try {
    Close();
  } catch (...) {
    // A detach error cannot be reported from a destructor; the attachment is released anyway.
  }
  for (Transaction* transaction : std::vector<Transaction*>(transactions_)) transaction->SetDefaultDatabase(nullptr);
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->SetDatabase(nullptr);
}

std::vector<unsigned char> Connection::BuildDpb() const {
  Status status;
  Firebird::IXpbBuilder* builder = Util()->getXpbBuilder(status.Get(), Firebird::IXpbBuilder::DPB, nullptr, 0);
  status.Check();
  std::unique_ptr<Firebird::IXpbBuilder, void (*)(Firebird::IXpbBuilder*)> guard(
      builder, [](Firebird::IXpbBuilder* b) { b->dispose(); });
  for (const std::string& line : params_) {
    const auto eq = line.find('=');
    const std::string name = line.substr(0, eq);
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    const auto item = std::find_if(std::begin(kDpbItems), std::end(kDpbItems),
                                   [&](const DpbItem& i) { return name == i.name; });
    if (item == std::end(kDpbItems)) throw DatabaseError("Unknown connection parameter \"" + name + "\"");
    builder->insertString(status.Get(), item->tag, value.c_str());
    status.Check();
  }
  const unsigned char* buffer = builder->getBuffer(status.Get());
  const unsigned length = builder->getBufferLength(status.Get());
  status.Check();
  return std::vector<unsigned char>(buffer, buffer + length);
}

void Connection::Open() {
  if (attachment_) throw DatabaseError("Database already open");
  const std::vector<unsigned char> dpb = BuildDpb();
  Status status;
  Firebird::IAttachment* attachment = Provider()->attachDatabase(
      status.Get(), databaseName_.c_str(), static_cast<unsigned>(dpb.size()), dpb.data());
  status.Check();
  attachment_ = attachment;
  noneEncoding_.reset();
}

void Connection::ReleaseDependents() {
  for (Statement* statement : std::vector<Statement*>(statements_)) statement->FreeHandle();
  for (Transaction* transaction : std::vector<Transaction*>(transactions_)) transaction->EndOnClose();
}

void Connection::Close() {
  if (!attachment_) return;
  ReleaseDependents();
  Firebird::IAttachment* attachment = attachment_;
  attachment_ = nullptr;
  Status status;
  attachment->detach(status.Get());
  if (status.Failed()) {
    attachment->release();
    status.Check();
  }
}

Firebird::IAttachment* Connection::Attachment() const {
  if (!attachment_) throw DatabaseError("Database not open");
  return attachment_;
}

const charsets::ByteEncoding& Connection::NoneEncoding() {
  if (!noneEncoding_) {
    Transaction transaction(this);
    transaction.Params() = {"isc_tpb_read", "isc_tpb_read_committed", "isc_tpb_rec_version"};
    transaction.StartTransaction();
    Statement query(this, &transaction);
    query.SetSQL({"SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE"});
    query.ExecQuery();
    noneEncoding_ = charsets::ByteEncoding::ForCharset(query.Fields(0).AsString());
    query.Close();
    transaction.Commit();
  }
  return *noneEncoding_;
}

void Connection::Attach(Transaction* transaction) { transactions_.push_back(transaction); }
void Connection::Detach(Transaction* transaction) { Remove(transactions_, transaction); }
void Connection::Attach(Statement* statement) { statements_.push_back(statement); }
void Connection::Detach(Statement* statement) { Remove(statements_, statement); }

}  // namespace brontelx::db
