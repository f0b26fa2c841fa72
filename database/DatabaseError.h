#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace Firebird {
class IStatus;
}

namespace brontelx::db {

// An error reported by the Firebird client or server: the client library's formatted message,
// the first ISC error code and the SQLSTATE (empty when the client gave none).
class DatabaseError : public std::runtime_error {
 public:
  DatabaseError(const std::string& message, std::intptr_t iscCode = 0, std::string sqlState = {});

  std::intptr_t IscCode() const { return iscCode_; }
  const std::string& SqlState() const { return sqlState_; }

  // Builds the error from a status vector that holds an error.
  static DatabaseError FromStatus(Firebird::IStatus* status);

 private:
  std::intptr_t iscCode_;
  std::string sqlState_;
};

}  // namespace brontelx::db
