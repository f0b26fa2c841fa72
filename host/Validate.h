#pragma once

#include <iosfwd>

#include "host/CommandLine.h"

namespace brontelx::cli {

// Validates the command's data on `command.jobs` sessions at once, each started for the command's
// user as a window starts one (StartSession), and writes one result per datum to `out` in the
// order of the data, each as soon as it and those before it are known. With fromStandardInput the
// data are the lines of `in`, with --file the lines of that file (a CR before the line end, and a
// UTF-8 byte order mark before the first line, are dropped); lines are read only as sessions are
// free to take them. Each session remembers a delivery-note database it could not reach for
// UnreachableDatabases::kDefaultPeriod. Returns 3 when any result says that the delivery-note
// database could not be reached, else 1 when any result is an "ERR" text, else 0. Throws
// UsageError when the input holds no datum or the file cannot be read (before any session
// starts); a session that cannot start, and an error that escapes a validation, are thrown too,
// after the results before it are written.
int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out);

}  // namespace brontelx::cli
