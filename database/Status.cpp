#include "database/Status.h"

#include <cerrno>

#include <vector>

#include "base/TextCodec.h"
#include "database/DatabaseError.h"
#include "database/FbClient.h"
#include "database/internal/Wire.h"

namespace brontelx::db {
namespace {

// A copy of the items of a status vector that ends with isc_arg_end; the texts it points to belong
// to the status object.
std::vector<DatabaseError::StatusItem> CopyItems(const intptr_t* vector) {
  std::vector<DatabaseError::StatusItem> items;
  for (const intptr_t* item = vector; item && *item != isc_arg_end;) {
    const intptr_t kind = item[0];
    switch (kind) {
      case isc_arg_cstring:
        items.push_back(
            {kind, 0, std::string(reinterpret_cast<const char*>(item[2]), static_cast<std::size_t>(item[1]))});
        item += 3;
        continue;
      case isc_arg_string:
      case isc_arg_interpreted:
      case isc_arg_sql_state:
        items.push_back({kind, 0, item[1] ? reinterpret_cast<const char*>(item[1]) : ""});
        break;
      default:
        items.push_back({kind, item[1], {}});
        break;
    }
    item += 2;
  }
  return items;
}

// The error a status vector holds. The server quotes names and values in the bytes it stores them
// in; a message that is not UTF-8 is decoded in the wire's encoding (Windows-1252 without one).
DatabaseError ErrorOf(Firebird::IStatus* status, const Wire* wire) {
  std::vector<char> buffer(4096);
  const unsigned length = Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  const std::string bytes(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
  std::vector<DatabaseError::StatusItem> items = CopyItems(status->getErrors());
  if (text::IsValidUtf8(bytes)) return DatabaseError(bytes, std::move(items));
  return DatabaseError(wire ? wire->DecodeMessage(bytes) : charsets::ByteEncoding::ForCharset("NONE").Decode(bytes),
                       std::move(items));
}

}  // namespace


Status::Status(Wire* wire)
    : BaseStatusWrapper(Master()->getStatus()), wire_(wire), watched_(wire ? wire->Watched() : nullptr) {}

Status::~Status() { status->dispose(); }

void Status::clearException(Status* status) {
  if (status->wire_) status->wire_->CheckNotCut();
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
    if (expired) throw DatabaseError(status->wire_->Cut(seconds));
  }
  if (status->dirty && (status->getState() & Firebird::IStatus::STATE_ERRORS))
    throw ErrorOf(status->status, status->wire_);
}

}  // namespace brontelx::db
