#pragma once

#include <iosfwd>

#include "CommandLine.h"

namespace brontelx::cli {

// Starts a session for the command's user as a window does (TSessione::Avvia) and writes one result
// text per datum to `out`, each as soon as it is known, its further lines indented; with fromStandardInput the data are the
// lines of `in` (a CR before the line end is dropped). Returns 0 when every result is "OK", 1 when
// any is an "ERR" text. A session that cannot start, and an error that escapes a validation, are
// thrown.
int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out);

}  // namespace brontelx::cli
