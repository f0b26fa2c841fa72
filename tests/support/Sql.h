#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "database/Connection.h"

namespace brontelx::testing {

// Runs one statement in a transaction of its own and commits it.
void ExecSql(db::Connection& connection, const std::string& sql);
// The same for a statement given as lines (joined by line breaks, not scanned for parameters).
void ExecSqlLines(db::Connection& connection, std::vector<std::string> lines);

// The first column of the first row as text ("" without a row), read in a transaction of its own.
std::string QueryText(db::Connection& connection, const std::string& sql);
std::int64_t QueryInt(db::Connection& connection, const std::string& sql);

}  // namespace brontelx::testing
