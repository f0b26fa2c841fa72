#include "database/TransactedStatement.h"

namespace brontelx::db {

TransactedStatement::TransactedStatement(Connection& database, std::vector<std::string> transactionParams,
                                         End end, bool scanParams)
    : end_(end), transaction_(&database), statement_(&database, &transaction_) {
  transaction_.Params() = std::move(transactionParams);
  statement_.SetParamCheck(scanParams);
  transaction_.StartTransaction();
}

TransactedStatement::~TransactedStatement() {
  statement_.CloseQuietly();
  if (!transaction_.Active()) return;
  try {
    EndTransaction();
  } catch (...) {
    // Reached only while another error leaves the call; that one is reported.
  }
}

void TransactedStatement::Finish() {
  statement_.Close();
  EndTransaction();
}

void TransactedStatement::EndTransaction() {
  if (!transaction_.Active()) return;
  if (end_ == End::Commit) {
    transaction_.Commit();
  } else {
    transaction_.Rollback();
  }
}

}  // namespace brontelx::db
