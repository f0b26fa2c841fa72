#pragma once

#include <firebird/Interface.h>

#include <cstring>

// Reading and writing the values of Firebird messages, whose fields sit at offsets that need not
// suit the value's alignment.
namespace brontelx::db {

constexpr unsigned kSqlDialect = 3;
// The longest VARCHAR a message field can hold, in bytes.
constexpr unsigned kMaxVarchar = 32765;

// The SQL type without the "nullable" bit.
constexpr unsigned BaseType(unsigned type) { return type & ~1u; }
constexpr bool IsTextType(unsigned type) { return type == SQL_TEXT || type == SQL_VARYING; }

template <typename T>
T Load(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void Store(unsigned char* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

}  // namespace brontelx::db
