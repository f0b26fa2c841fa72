#include "database/DatabaseError.h"

#include <firebird/Interface.h>

#include <charconv>
#include <utility>


namespace brontelx::db {

DatabaseError::DatabaseError(const std::string& message, std::intptr_t iscCode)
    : std::runtime_error(message), iscCode_(iscCode) {
  if (iscCode != 0) status_.push_back({isc_arg_gds, iscCode, {}});
}

DatabaseError::DatabaseError(const std::string& message, std::vector<StatusItem> status)
    : std::runtime_error(message),
      iscCode_(!status.empty() && status[0].kind == isc_arg_gds ? status[0].number : 0),
      status_(std::move(status)) {}

bool DatabaseError::IsWriteConflict() const {
  return iscCode_ == isc_lock_conflict || iscCode_ == isc_deadlock || iscCode_ == isc_update_conflict;
}

std::optional<std::int64_t> DatabaseError::ConcurrentTransaction() const {
  for (std::size_t i = 0; i + 1 < status_.size(); ++i) {
    if (status_[i].kind != isc_arg_gds || status_[i].number != isc_concurrent_transaction) continue;
    const StatusItem& argument = status_[i + 1];
    if (argument.kind == isc_arg_number) return argument.number;
    // Numbers wider than the vector's items come as their decimal text.
    std::int64_t number = 0;
    const char* end = argument.text.data() + argument.text.size();
    const auto [rest, error] = std::from_chars(argument.text.data(), end, number);
    if (argument.kind == isc_arg_string && error == std::errc() && rest == end) return number;
    return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace brontelx::db
