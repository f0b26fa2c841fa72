#include "tests/support/Sql.h"

#include "database/TransactedStatement.h"

namespace brontelx::testing {

void ExecSql(db::Connection& connection, const std::string& sql) { ExecSqlLines(connection, {sql}); }

void ExecSqlLines(db::Connection& connection, std::vector<std::string> lines) {
  db::TransactedStatement statement(connection, {}, db::TransactedStatement::End::Commit, false);
  statement.Query().SetSQL(std::move(lines));
  statement.Query().ExecQuery();
  statement.Finish();
}

std::string QueryText(db::Connection& connection, const std::string& sql) {
  db::TransactedStatement statement(connection, {"read_committed", "rec_version"},
                                    db::TransactedStatement::End::Commit, false);
  statement.Query().SetSQL({sql});
  statement.Query().ExecQuery();
  std::string result = statement.Query().Eof() ? std::string() : statement.Query().FieldAt(0).AsString();
  statement.Finish();
  return result;
}

std::int64_t QueryInt(db::Connection& connection, const std::string& sql) {
  return std::stoll(QueryText(connection, sql));
}

}  // namespace brontelx::testing
