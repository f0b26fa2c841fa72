#pragma once

#include <firebird/Interface.h>

#include <string>
#include <string_view>

namespace brontelx::db {

class ConnectionCore;

// Layer internal. Reads a blob in the active `transaction` of `connection`. Text blobs (sub-type 1)
// come back as UTF-8, other sub-types as their bytes (see CharsetPolicy).
std::string ReadBlob(ConnectionCore& connection, Firebird::ITransaction* transaction, ISC_QUAD id, int subType,
                     unsigned charset);

// Creates a blob holding `value` (UTF-8) the same way round and returns its id.
ISC_QUAD WriteBlob(ConnectionCore& connection, Firebird::ITransaction* transaction, std::string_view value,
                   int subType, unsigned charset);

}  // namespace brontelx::db
