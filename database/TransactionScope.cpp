#include "database/TransactionScope.h"

#include <utility>

namespace brontelx::db {

TransactionScope::TransactionScope(Connection& database, std::vector<std::string> params) : transaction_(&database) {
  transaction_.Params() = std::move(params);
  transaction_.StartTransaction();
}

TransactionScope::~TransactionScope() {
  if (!transaction_.Active()) return;
  try {
    transaction_.Rollback();
  } catch (...) {
    // Reached only while another error leaves the work; that one is reported.
  }
}

void TransactionScope::Commit() { transaction_.Commit(); }

}  // namespace brontelx::db
