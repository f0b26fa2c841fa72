#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace brontelx::cli {

// Writes the users of the user directory beside this program to `out`, one a line after a header
// line: code, name, company and "Archivio" (as a session reads it), separated by tabs, each
// escaped for a terminal. Throws UnreachableDatabase when the user directory cannot be attached.
// Returns 0.
int RunUsers(std::ostream& out);

// Starts a session for `user` and writes the location of the delivery-note database stored in
// its archive (the shared value VelZidBolDBRux) to `out`, or, given `text`, stores it exactly as
// the settings window's "Chiudi" does and says so. Returns 1 when reading finds no location, 0
// otherwise (the note that none is stored goes to standard error); session failures are thrown as StartSession throws them.
int RunLocation(std::int32_t user, const std::optional<std::string>& text, std::ostream& out);

}  // namespace brontelx::cli
