#include "Status.h"

#include "DatabaseError.h"
#include "FbClient.h"

namespace brontelx::db {

Status::Status(Connection* connection) : BaseStatusWrapper(Master()->getStatus()), connection_(connection) {}

Status::~Status() { status->dispose(); }

void Status::checkException(Status* status) {
  if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS))
    throw DatabaseError::FromStatus(status->status, status->connection_);
}

}  // namespace brontelx::db
