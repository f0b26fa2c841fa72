#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace Firebird {
class IStatus;
}

namespace brontelx::db {

class Connection;

// An error reported by the Firebird client or server, or by this layer: the client library's
// formatted message (UTF-8) and the first ISC error code (0 for the layer's own errors).
class DatabaseError : public std::runtime_error {
 public:
  explicit DatabaseError(const std::string& message, std::intptr_t iscCode = 0);

  std::intptr_t IscCode() const { return iscCode_; }

  // Builds the error from a status vector that holds an error. The server quotes names and values
  // in the bytes it stores them in; a message that is not UTF-8 is decoded in the character set of
  // `connection`'s database (Windows-1252 when there is none, or no connection).
  static DatabaseError FromStatus(Firebird::IStatus* status, Connection* connection = nullptr);

 private:
  std::intptr_t iscCode_;
};

}  // namespace brontelx::db
