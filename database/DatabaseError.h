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
  // The statement met another transaction's write of the same row: that one is still running (a
  // no-wait transaction), or it committed after this transaction began. Trying again in a new
  // transaction, once the other has ended, may succeed.
  bool IsWriteConflict() const;

  // Builds the error from a status vector that holds an error. The server quotes names and values
  // in the bytes it stores them in; a message that is not UTF-8 is decoded in the character set of
  // `connection`'s database (Windows-1252 when there is none, or no connection).
  static DatabaseError FromStatus(Firebird::IStatus* status, Connection* connection = nullptr);

 private:
  std::intptr_t iscCode_;
};

}  // namespace brontelx::db
