#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace brontelx::db {

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
  // An error the client reported: its message, decoded, and the items of its status vector.
  DatabaseError(const std::string& message, std::vector<StatusItem> status);

  std::intptr_t IscCode() const { return iscCode_; }
  // The statement met another transaction's write of the same row: that one is still running (a
  // no-wait transaction), or it committed after this transaction began. Trying again in a new
  // transaction, once the other has ended, may succeed.
  bool IsWriteConflict() const;
  // The number of the transaction whose write this one met, as the status vector names it.
  std::optional<std::int64_t> ConcurrentTransaction() const;

 private:
  std::intptr_t iscCode_;
  std::vector<StatusItem> status_;
};

}  // namespace brontelx::db
