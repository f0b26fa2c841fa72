#include "Status.h"

#include <cerrno>

#include "DatabaseError.h"
#include "FbClient.h"

namespace brontelx::db {

Status::Status(Connection* connection) : BaseStatusWrapper(Master()->getStatus()), connection_(connection) {}

Status::~Status() { status->dispose(); }

void Status::clearException(Status* status) {
  errno = 0;
  BaseStatusWrapper::clearException(status);
}

void Status::checkException(Status* status) {
  if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS))
    throw DatabaseError::FromStatus(status->status, status->connection_);
}

}  // namespace brontelx::db
