#pragma once

#include <firebird/Interface.h>

#include <string>

namespace brontelx::db {

// The database's default character set (RDB$CHARACTER_SET_NAME, empty when it has none), read in
// `transaction` in one exchange with a server: IAttachment::execute prepares the query, runs it
// and returns its single row in one call, into an output message laid out here.
std::string ReadDefaultCharset(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction);

}  // namespace brontelx::db
