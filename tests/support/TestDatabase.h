#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "schema/SchemaDatabase.h"
#include "tests/support/TempDir.h"

namespace brontelx::testing {

// A database of one kind with its objects, created with the embedded engine and removed on
// destruction. Unless a file name is given it is named after its kind: user.fdb, archivio.fdb or
// bolle.fdb.
class TestDatabase {
 public:
  // In a temporary folder of its own.
  explicit TestDatabase(schema::Kind kind, const std::string& charset = "UTF8");
  // In the given folder, created when missing (e.g. the user/ folder beside a test program).
  TestDatabase(schema::Kind kind, const std::string& charset, const std::filesystem::path& folder,
               const std::string& fileName = {});
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  const std::string& Path() const { return path_; }
  std::filesystem::path Folder() const { return std::filesystem::path(path_).parent_path(); }

 private:
  std::unique_ptr<TempDir> dir_;
  std::string path_;
};

}  // namespace brontelx::testing
