#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brontelx::db {

// SQL whose ":NAME" parameters have been replaced by "?" markers, with the name of each marker in
// order. Text inside '...' and "..." (doubled quotes escape), "--" comments (to the line break)
// and /* */ comments is left alone.
struct ScannedSql {
  std::string sql;
  std::vector<std::string> markerNames;
};

ScannedSql ScanParams(std::string_view sql);

}  // namespace brontelx::db
