#pragma once

#include <string>
#include <vector>

#include "database/Statement.h"

namespace brontelx {

// The statements that write a query's row back to its table: the modify statement for an edited
// row, the insert statement for an appended one. Each is a list of lines; every ":NAME" in them is
// bound to the row's column NAME.
struct TUpdateSQL {
  std::vector<std::string> ModifySQL;
  std::vector<std::string> InsertSQL;
};

// Derives from the columns that ADataSet's statement returns (a second statement with the same
// text, prepared in ADataSet's transaction) the modify statement of table ATabella when ATipo is
// "UPDATE", or its insert statement when ATipo is "INSERT", in any letter case. Every column goes
// into the statement, none quoted; the modify statement has no WHERE clause. Any other ATipo
// changes nothing.
void PreparaUpdateSQL(db::Statement& ADataSet, const std::string& ATabella, const std::string& ATipo,
                      TUpdateSQL& AUpdateSQL);

}  // namespace brontelx
