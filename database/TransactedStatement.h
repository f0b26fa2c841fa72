#pragma once

#include <memory>
#include <string>
#include <vector>

#include "database/Statement.h"
#include "database/Transaction.h"

namespace brontelx::db {

// A statement with a transaction of its own, for one database operation: created, started, used
// and ended within the call. The transaction ends the chosen way in every case: by Finish() on
// the normal path (errors propagate), or on destruction when an error left the call (errors are
// then swallowed: the first error is the one to report).
class TransactedStatement {
 public:
  enum class End { Commit, Rollback };

  TransactedStatement(Connection& database, std::vector<std::string> transactionParams, End end,
                      bool scanParams);
  ~TransactedStatement();
  TransactedStatement(const TransactedStatement&) = delete;
  TransactedStatement& operator=(const TransactedStatement&) = delete;

  Statement& Query() { return statement_; }
  // Closes the statement and ends the transaction.
  void Finish();

  // The two kinds of transaction the library uses for single operations.
  static std::vector<std::string> DefaultParams() { return {}; }
  static std::vector<std::string> SnapshotParams() { return {"concurrency", "nowait"}; }

 private:
  void EndTransaction();

  End end_;
  Transaction transaction_;
  Statement statement_;
};

}  // namespace brontelx::db
