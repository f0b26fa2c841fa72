#pragma once

#include <cstdint>
#include <iosfwd>

namespace brontelx::cli {

// Writes to `out` what a support call needs: the versions of this program and the Firebird client,
// the Firebird root and lock folder in use, and a user's databases, found the way a session and
// the validation find them: the user directory beside this program, the user's name and company,
// the archive named by the user's "Archivio" parameter and the delivery-note database named by the
// shared value VelZidBolDBRux. For each database: the dati.ini looked for beside it and what it
// says, the connection string built, whether it attaches (with the server's message and a hint
// when not), the engine's version and whether it holds the tables it should. Returns 0 when all
// three attach and hold their tables, 3 when one does not attach, 1 otherwise.
int RunInfo(std::int32_t user, std::ostream& out);

}  // namespace brontelx::cli
