#include "tests/support/TestDatabase.h"

#include <system_error>

namespace brontelx::testing {
namespace {

std::string DefaultFileName(schema::Kind kind) {
  switch (kind) {
    case schema::Kind::UserDirectory:
      return "user.fdb";
    case schema::Kind::Archive:
      return "archivio.fdb";
    case schema::Kind::DeliveryNotes:
      return "bolle.fdb";
  }
  return "database.fdb";
}

}  // namespace

TestDatabase::TestDatabase(schema::Kind kind, const std::string& charset)
    : dir_(std::make_unique<TempDir>()), path_((dir_->Path() / DefaultFileName(kind)).string()) {
  schema::CreateDatabase(path_, kind, charset);
}

TestDatabase::TestDatabase(schema::Kind kind, const std::string& charset, const std::filesystem::path& folder,
                           const std::string& fileName)
    : path_((folder / (fileName.empty() ? DefaultFileName(kind) : fileName)).string()) {
  std::filesystem::create_directories(folder);
  schema::CreateDatabase(path_, kind, charset);
}

TestDatabase::~TestDatabase() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace brontelx::testing
