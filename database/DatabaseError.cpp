#include "DatabaseError.h"

#include <firebird/Interface.h>

#include <vector>

#include "Charsets.h"
#include "Connection.h"
#include "FbClient.h"
#include "TextCodec.h"

namespace brontelx::db {

DatabaseError::DatabaseError(const std::string& message, std::intptr_t iscCode)
    : std::runtime_error(message), iscCode_(iscCode) {}

bool DatabaseError::IsWriteConflict() const {
  return iscCode_ == isc_lock_conflict || iscCode_ == isc_deadlock || iscCode_ == isc_update_conflict;
}

DatabaseError DatabaseError::FromStatus(Firebird::IStatus* status, Connection* connection) {
  std::vector<char> buffer(4096);
  const unsigned length = Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  const std::string bytes(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
  const intptr_t* errors = status->getErrors();
  const intptr_t code = errors && errors[0] == isc_arg_gds ? errors[1] : 0;
  if (text::IsValidUtf8(bytes)) return DatabaseError(bytes, code);
  const charsets::ByteEncoding encoding =
      connection ? connection->MessageEncoding() : charsets::ByteEncoding::ForCharset("NONE");
  return DatabaseError(encoding.Decode(bytes), code);
}

}  // namespace brontelx::db
