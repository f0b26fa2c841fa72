#pragma once

#include <iosfwd>

#include "CommandLine.h"

namespace brontelx::cli {

// Starts a session for the command's user as a window does (TSessione::Avvia) and writes one result
// text per datum to `out`, each as soon as it is known, its further lines indented; with
// fromStandardInput the data are the lines of `in` (a CR before the line end, and a UTF-8 byte
// order mark before the first line, are dropped). A delivery-note database that could not be
// reached answers the data after it with the same text at once, for
// UnreachableDatabases::kDefaultPeriod; then it is tried again. Returns 0 when every result is
// "OK", 1 when any is an "ERR" text. Throws UsageError when standard input holds no datum (before
// any session starts); a session that cannot start, and an error that escapes a validation, are
// thrown too.
int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out);

}  // namespace brontelx::cli
