#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brontelx::schema {

// Splits a script of plain statements at each ';' outside quotes and comments. Comments are dropped,
// each statement is trimmed, and empty statements are left out.
std::vector<std::string> SplitStatements(std::string_view script);

}  // namespace brontelx::schema
