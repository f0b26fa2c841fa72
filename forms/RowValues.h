#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/Statement.h"

namespace brontelx {

// The values of one row by column, as text (NULL: none), in the form they are bound back to the
// statements of TUpdateSQL: the server turns each text into its column's type, so every value of a
// column the caller does not set is written back as it was read, whatever its type.
class RowValues {
 public:
  // The current row of `query`, or every column NULL when `fromRow` is false (a new row).
  RowValues(const db::Statement& query, bool fromRow);

  // Gives the column named `column` (letter case ignored) a new value.
  void Set(std::string_view column, std::int32_t value);

  // Binds every column to the parameter of its name; a statement without one raises.
  void Bind(db::Statement& statement) const;

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> values_;
};

}  // namespace brontelx
