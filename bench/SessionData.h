#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "bench/FloorSession.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::bench {

inline constexpr std::int32_t kSessionUser = 1;
// The window-log row the host created for the window the benchmarks open.
inline constexpr std::int32_t kWindowLogId = 1;

// user/user.fdb beside this program, where the session looks for it, with user 1 of company ALFA
// whose "Archivio" names an archive in a temporary folder, the window-log row kWindowLogId, and in
// the archive the stored placement of the test window. Removed at the end, with the user folder
// when this run created it.
struct SessionDatabases {
  testing::TestDatabase archiveFile{schema::Kind::Archive};
  const std::string archive = archiveFile.Path();
  std::filesystem::path userFolder;
  std::filesystem::path userFile;
  bool createdFolder = false;

  SessionDatabases();
  ~SessionDatabases();
  SessionDatabases(const SessionDatabases&) = delete;
  SessionDatabases& operator=(const SessionDatabases&) = delete;
};

}  // namespace brontelx::bench
