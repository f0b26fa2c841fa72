#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace Firebird {
class IStatus;
}

namespace brontelx::db {

class Connection;

// An error reported by the Firebird client or server, or by this layer: the client library's
// formatted message (UTF-8) and the whole status vector, whose first ISC error code is the error's
// code (0 for the layer's own errors, which carry only that code).
class DatabaseError : public std::runtime_error {
 public:
  // One item of a status vector: its kind (isc_arg_gds, isc_arg_number, isc_arg_string, ...) and
  // its value, a number or a text (undecoded, as the server sent it).
  struct StatusItem {
    std::intptr_t kind;
    std::intptr_t number;
    std::string text;
  };

  explicit DatabaseError(const std::string& message, std::intptr_t iscCode = 0);

  std::intptr_t IscCode() const { return iscCode_; }
  // The statement met another transaction's write of the same row: that one is still running (a
  // no-wait transaction), or it committed after this transaction began. Trying again in a new
  // transaction, once the other has ended, may succeed.
  bool IsWriteConflict() const;
  // The number of the transaction whose write this one met, as the status vector names it.
  std::optional<std::int64_t> ConcurrentTransaction() const;

  // Builds the error from a status vector that holds an error. The server quotes names and values
  // in the bytes it stores them in; a message that is not UTF-8 is decoded in the character set of
  // `connection`'s database (Windows-1252 when there is none, or no connection).
  static DatabaseError FromStatus(Firebird::IStatus* status, Connection* connection = nullptr);

 private:
  DatabaseError(const std::string& message, std::vector<StatusItem> status);

  std::intptr_t iscCode_;
  std::vector<StatusItem> status_;
};

}  // namespace brontelx::db
