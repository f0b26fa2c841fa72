#include "schema/SchemaDatabase.h"

#include <system_error>
#include <vector>

#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "database/DatabaseError.h"
#include "database/Statement.h"
#include "database/Transaction.h"
#include "schema/SchemaScripts.h"
#include "schema/SqlScript.h"

namespace brontelx::schema {
namespace {

// Runs one statement in a transaction of its own and commits it; a failure rolls it back.
void Execute(db::Connection& database, const std::string& sql) {
  db::Transaction transaction(&database);
  transaction.StartTransaction();
  db::Statement statement(&database, &transaction);
  statement.SetParamCheck(false);
  statement.SetSQL({sql});
  try {
    statement.ExecQuery();
    transaction.Commit();
  } catch (...) {
    statement.CloseQuietly();
    if (transaction.Active()) transaction.Rollback();
    throw;
  }
}

}  // namespace

void CreateDatabase(const std::filesystem::path& file, Kind kind, const std::string& defaultCharset) {
  const std::vector<std::string> statements = SplitStatements(SchemaScript(kind));
  std::error_code ignored;
  const bool existed = std::filesystem::exists(file, ignored);
  db::Connection database;
  database.SetDatabaseName(file.string());
  database.Params() = {std::string("user_name=") + kDBUserName, std::string("password=") + kDBPassword};
  try {
    database.Create(defaultCharset);
  } catch (const db::DatabaseError&) {
    // Never remove a file that was there before: the engine refuses to overwrite it.
    if (!existed) std::filesystem::remove(file, ignored);
    throw;
  }
  try {
    for (const std::string& sql : statements) Execute(database, sql);
    database.Close();
  } catch (...) {
    // The half-made database goes: dropped through the attachment, or removed when that fails.
    if (database.Connected()) {
      try {
        database.Drop();
      } catch (const db::DatabaseError&) {
        std::filesystem::remove(file, ignored);
      }
    }
    throw;
  }
}

}  // namespace brontelx::schema
