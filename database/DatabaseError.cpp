#include "DatabaseError.h"

#include <firebird/Interface.h>

#include <charconv>
#include <utility>
#include <vector>

#include "Charsets.h"
#include "Connection.h"
#include "FbClient.h"
#include "TextCodec.h"

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
        items.push_back({kind, 0, std::string(reinterpret_cast<const char*>(item[2]), static_cast<std::size_t>(item[1]))});
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

}  // namespace

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

DatabaseError DatabaseError::FromStatus(Firebird::IStatus* status, Connection* connection) {
  std::vector<char> buffer(4096);
  const unsigned length = Util()->formatStatus(buffer.data(), static_cast<unsigned>(buffer.size()), status);
  const std::string bytes(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
  std::vector<StatusItem> items = CopyItems(status->getErrors());
  if (text::IsValidUtf8(bytes)) return DatabaseError(bytes, std::move(items));
  const charsets::ByteEncoding encoding =
      connection ? connection->MessageEncoding() : charsets::ByteEncoding::ForCharset("NONE");
  return DatabaseError(encoding.Decode(bytes), std::move(items));
}

}  // namespace brontelx::db
