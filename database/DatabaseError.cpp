#include "DatabaseError.h"

#include <firebird/Interface.h>

#include <vector>

#include "FbClient.h"
#include "TextCodec.h"

namespace brontelx::db {

DatabaseError::DatabaseError(const std::string& message, std::intptr_t iscCode)
    : std::runtime_error(message), iscCode_(iscCode) {}

DatabaseError DatabaseError::FromStatus(Firebird::IStatus* status) {
  std::vector<char> buffer(4096);
  const unsigned length = Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  std::string message(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
  // The server's message texts are ASCII, but they quote names and values in the attachment's
  // character set (NONE here): keep whatever arrives valid UTF-8.
  message = text::SanitizeUtf8(message);
  const intptr_t* errors = status->getErrors();
  const intptr_t code = errors && errors[0] == isc_arg_gds ? errors[1] : 0;
  return DatabaseError(message, code);
}

}  // namespace brontelx::db
