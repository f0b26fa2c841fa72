#pragma once

#include <string>

namespace brontelx::testing {

// Runs sqlScript with isql-fb on database (a file path or a connection string) as SYSDBA, with the
// connection character set charset, and returns what it printed (standard output and errors).
// It runs in a separate process: with the embedded engine no connection of the calling process may
// be open on that database meanwhile.
std::string RunIsql(const std::string& database, const std::string& sqlScript,
                    const std::string& charset = "UTF8");

}  // namespace brontelx::testing
