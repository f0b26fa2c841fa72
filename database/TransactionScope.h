#pragma once

#include <string>
#include <vector>

#include "database/Connection.h"
#include "database/Transaction.h"

namespace brontelx::db {

// A transaction for one piece of work, started on construction: Commit ends it on the normal path;
// when the work leaves by an exception instead, the destructor rolls it back and swallows the
// rollback's own error (the first error is the one to report).
class TransactionScope {
 public:
  TransactionScope(Connection& database, std::vector<std::string> params);
  ~TransactionScope();
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;

  db::Transaction& Transaction() { return transaction_; }
  void Commit();

 private:
  db::Transaction transaction_;
};

}  // namespace brontelx::db
