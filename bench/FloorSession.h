#pragma once

#include <cstdint>
#include <string>

#include "bench/FloorApi.h"

namespace brontelx::bench {

// What a session start does, on the plain API: attach the user directory, read the row of `user` and
// the "Archivio" parameter with the library's statements, each in a default transaction (no
// parameter block) rolled back and its statement freed, then attach the archive.
struct FloorSession {
  Firebird::IAttachment* users = nullptr;
  Firebird::IAttachment* archive = nullptr;
  std::string name;  // the user's NOMEUTENTE and DITTA
  std::string company;
};

FloorSession StartFloorSession(db::Status& status, const std::string& userFile, std::int32_t user);
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
