#include "database/internal/ConnectionCore.h"

#include "database/DatabaseError.h"

namespace brontelx::db {

Firebird::IAttachment* ConnectionCore::Attachment() {
  if (!attachment_) throw DatabaseError("Database not open");
  wire_.CheckNotCut();
  return attachment_.get();
}

CharsetPolicy& ConnectionCore::Charsets() {
  Attachment();
  return *charsets_;
}

void ConnectionCore::Attach(FbHandle<Firebird::IAttachment> attachment, std::string server) {
  attachment_ = std::move(attachment);
  wire_.Reset(attachment_.get(), std::move(server));
  charsets_.emplace(attachment_.get(), wire_);
}

void ConnectionCore::Detach() {
  if (!attachment_) return;
  statements_.EndAll();
  transactions_.EndAll();
  charsets_.reset();
  if (wire_.IsCut()) {
    // The cut attachment answers nothing: let go of it without a word.
    wire_.Reset(nullptr, wire_.Server());
    attachment_.Drop();
    return;
  }
  Status status(&wire_);
  attachment_.End(status, &Firebird::IAttachment::detach<Status>);
}

void ConnectionCore::Drop() {
  Attachment();
  statements_.EndAll();
  transactions_.EndAll();
  charsets_.reset();
  Status status(&wire_);
  attachment_.End(status, &Firebird::IAttachment::dropDatabase<Status>);
}

}  // namespace brontelx::db
