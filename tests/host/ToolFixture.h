#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

namespace brontelx::testing {

// The exit status as a shell shows it: the exit code, or 128 + the signal that ended the program.
inline int ExitCode(const ChildResult& result) {
  return result.status.exited ? result.status.code : 128 + result.status.code;
}

// The brontelx tool copied into a folder of its own (bin/brontelx, so its user directory is
// bin/user/user.fdb), with the demo databases that it built there itself: the user directory and,
// in data/, the company archive and the delivery-note database.
class ToolFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  std::filesystem::path Tool() const { return dir_.Path() / "bin" / "brontelx"; }
  std::filesystem::path Folder() const { return dir_.Path(); }
  std::filesystem::path UserDirectory() const { return dir_.Path() / "bin" / "user" / "user.fdb"; }
  std::filesystem::path Archive() const { return dir_.Path() / "data" / "archivio.fdb"; }
  std::filesystem::path DeliveryNotes() const { return dir_.Path() / "data" / "rux.fdb"; }

  // Runs the tool to its end.
  ChildResult Run(const std::vector<std::string>& arguments, const std::string& input = {},
                  const std::vector<std::string>& environment = {}) const;

  // One statement, or the first column of the first row, on a database file, through a connection
  // that is closed again at once: an embedded database is open in one process at a time.
  static void Exec(const std::filesystem::path& database, const std::string& sql);
  static std::string Query(const std::filesystem::path& database, const std::string& sql);

 private:
  TempDir dir_;
};

}  // namespace brontelx::testing
