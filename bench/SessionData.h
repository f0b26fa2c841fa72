#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "FloorApi.h"
#include "TestDatabase.h"

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

// What a session start does, on the plain API: attach the user directory, read the user's row and
// the "Archivio" parameter with the library's statements, each in a default transaction (no
// parameter block) rolled back and its statement freed, then attach the archive.
struct FloorSession {
  Firebird::IAttachment* users = nullptr;
  Firebird::IAttachment* archive = nullptr;
  std::string name;  // the user's NOMEUTENTE and DITTA
  std::string company;
};

FloorSession StartFloorSession(db::Status& status, const std::string& userFile);
// Detaches both databases.
void EndFloorSession(db::Status& status, FloorSession& session);

// A default transaction, `sql` prepared and run on `input` (none when null), its first row handed to
// `read`, the transaction rolled back and the statement freed.
template <typename Fill, typename Read>
void FirstRow(db::Status& status, Firebird::IAttachment* attachment, const char* sql, Fill fill, Read read) {
  Firebird::ITransaction* transaction = attachment->startTransaction(status.Get(), 0, nullptr);
  Firebird::IStatement* statement =
      attachment->prepare(status.Get(), transaction, 0, sql, floor::kDialect, floor::kPrepareFlags);
  floor::Message input = floor::InputOf(status, statement);
  fill(input);
  floor::Message output = floor::OutputOf(status, statement);
  Firebird::IResultSet* cursor =
      statement->openCursor(status.Get(), transaction, input.Metadata(), input.Data(), output.Metadata(), 0);
  if (cursor->fetchNext(status.Get(), output.Data()) == Firebird::IStatus::RESULT_OK) read(output);
  cursor->close(status.Get());
  transaction->rollback(status.Get());
  statement->free(status.Get());
}

}  // namespace brontelx::bench
