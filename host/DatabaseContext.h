#pragma once

#include <string>

#include "base/Error.h"

namespace brontelx::cli {

// The lines that say how the database file name `fileName` is reached, found as OpenIBDatabase
// finds it: "dati.ini: <path>: <its settings>" (or "dati.ini: none (<path looked for>)") and
// "connection string: <string>" (or why it cannot be built), each after `indent` and ended by a
// line break; every part escaped for a terminal.
std::string ReachLines(const std::string& fileName, const std::string& indent);

// A database that could not be attached. The message is the failure's, followed by the reach
// lines of the database and, where the cause is recognisable, a hint; the brontelx tool ends
// with exit status 3 for it.
class UnreachableDatabase : public Error {
 public:
  UnreachableDatabase(const std::string& what, const std::string& fileName, const std::string& failure);
};

}  // namespace brontelx::cli
