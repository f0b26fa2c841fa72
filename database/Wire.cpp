#include "database/internal/Wire.h"

#include "database/DatabaseError.h"
#include "database/ResponseDeadline.h"

namespace brontelx::db {

void Wire::Reset(Firebird::IAttachment* attachment, std::string server) {
  attachment_ = attachment;
  server_ = std::move(server);
  cutMessage_.clear();
  messageEncoding_.reset();
}

const std::string& Wire::Cut(int seconds) {
  if (cutMessage_.empty()) cutMessage_ = ResponseDeadline::Message(server_, seconds);
  return cutMessage_;
}

void Wire::CheckNotCut() const {
  if (!cutMessage_.empty()) throw DatabaseError(cutMessage_);
}

std::string Wire::DecodeMessage(const std::string& bytes) const {
  return (messageEncoding_ ? *messageEncoding_ : charsets::ByteEncoding::ForCharset("NONE")).Decode(bytes);
}

}  // namespace brontelx::db
