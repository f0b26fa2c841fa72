#pragma once

#include <firebird/Interface.h>

#include <string>
#include <string_view>

namespace brontelx::db {

class Connection;
class Transaction;

// Reads a blob. Text blobs (sub-type 1) come back as UTF-8: a declared character set is
// transliterated by the server, NONE is decoded in the connection's NONE encoding. Other
// sub-types come back as their bytes.
std::string ReadBlob(Connection& connection, Transaction& transaction, ISC_QUAD id, int subType,
                     unsigned charset);

// Creates a blob holding `value` (UTF-8) the same way round and returns its id.
ISC_QUAD WriteBlob(Connection& connection, Transaction& transaction, std::string_view value, int subType,
                   unsigned charset);

}  // namespace brontelx::db
