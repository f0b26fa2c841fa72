#include "Status.h"

#include <cerrno>

#include "Connection.h"
#include "DatabaseError.h"
#include "FbClient.h"

namespace brontelx::db {

Status::Status(Connection* connection)
    : BaseStatusWrapper(Master()->getStatus()),
      connection_(connection),
      watched_(connection ? connection->WatchedAttachment() : nullptr) {}

Status::~Status() { status->dispose(); }

void Status::clearException(Status* status) {
  if (status->connection_) status->connection_->CheckNotCut();
  errno = 0;
  BaseStatusWrapper::clearException(status);
  if (status->watched_) status->watch_.emplace(status->watched_);
}

void Status::checkException(Status* status) {
  if (status->watch_) {
    const bool expired = status->watch_->Expired();
    const int seconds = status->watch_->Seconds();
    status->watch_.reset();
    // Whatever the call answered, the attachment is dead now.
    if (expired) throw DatabaseError(status->connection_->Cut(seconds));
  }
  if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS))
    throw DatabaseError::FromStatus(status->status, status->connection_);
}

}  // namespace brontelx::db
