#pragma once

#include <cstdint>
#include <iosfwd>

namespace brontelx::cli {

// Writes to `out` what a support call needs about a user's databases, found the way a session and
// the validation find them: the user directory beside this program, the user's name and company,
// the archive named by the user's "Archivio" parameter and the delivery-note database named by the
// shared value VelZidBolDBRux. For each database: the dati.ini looked for beside it and what it
// says, the connection string built, and whether it attaches, with the server's message when not.
// Returns 0 when all three attach, 1 otherwise.
int RunInfo(std::int32_t user, std::ostream& out);

}  // namespace brontelx::cli
