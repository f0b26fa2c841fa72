#pragma once

#include <firebird/Interface.h>

#include <optional>
#include <string>

#include "database/Charsets.h"

namespace brontelx::db {

// Layer internal. What every call on one attachment consults: whether it goes to a server (then
// watched by the response deadline), whether an earlier call was cut by that deadline, and the
// encoding the server's messages are decoded in. Knows nothing of the objects around the
// attachment, so that a status can hold it.
class Wire {
 public:
  // A new attachment: to `server` (empty for a local file), its messages read as Windows-1252
  // until the database's character set is known.
  void Reset(Firebird::IAttachment* attachment, std::string server);
  const std::string& Server() const { return server_; }
  // The attachment when its calls go to a remote server and are watched by the response deadline.
  Firebird::IAttachment* Watched() const { return server_.empty() ? nullptr : attachment_; }

  // A call met the response deadline and was cut, so the attachment is dead: remembers and returns
  // the error that every later call raises at once, until the connection closes.
  const std::string& Cut(int seconds);
  bool IsCut() const { return !cutMessage_.empty(); }
  void CheckNotCut() const;

  // Set once the database's character set is read; messages are decoded in it from then on.
  void SetMessageEncoding(const charsets::ByteEncoding& encoding) { messageEncoding_ = encoding; }
  // Decodes a message of the server that is not UTF-8. Never asks the server anything.
  std::string DecodeMessage(const std::string& bytes) const;

 private:
  Firebird::IAttachment* attachment_ = nullptr;
  std::string server_;
  std::string cutMessage_;
  std::optional<charsets::ByteEncoding> messageEncoding_;
};

}  // namespace brontelx::db
