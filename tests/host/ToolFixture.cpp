#include "tests/host/ToolFixture.h"

#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "tests/support/Sql.h"

namespace brontelx::testing {

namespace fs = std::filesystem;

void ToolFixture::SetUp() {
  fs::create_directories(Tool().parent_path());
  fs::copy_file(BRONTELX_TOOL, Tool());
  const ChildResult demo = Run({"demo", (Folder() / "data").string()});
  ASSERT_TRUE(demo.status.exited && demo.status.code == 0) << demo.output << demo.errors;
}

ChildResult ToolFixture::Run(const std::vector<std::string>& arguments, const std::string& input,
                             const std::vector<std::string>& environment) const {
  return RunChild(Tool().string(), arguments, input, environment);
}

void ToolFixture::Exec(const fs::path& database, const std::string& sql) {
  db::Connection connection;
  OpenIBDatabase(connection, database.string());
  ExecSql(connection, sql);
}

std::string ToolFixture::Query(const fs::path& database, const std::string& sql) {
  db::Connection connection;
  OpenIBDatabase(connection, database.string());
  return QueryText(connection, sql);
}

}  // namespace brontelx::testing
