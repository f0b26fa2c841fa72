// Scans arbitrary SQL for named parameters: every name found must be replaced by exactly one
// marker, and text without a colon must come back unchanged.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ParamScanner.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view sql(reinterpret_cast<const char*>(data), size);
  const brontelx::db::ScannedSql scanned = brontelx::db::ScanParams(sql);
  std::size_t nameBytes = 0;
  for (const auto& name : scanned.markerNames) nameBytes += name.size() + 1;  // ":NAME" became "?"
  if (scanned.sql.size() + nameBytes - scanned.markerNames.size() != sql.size()) std::abort();
  if (sql.find(':') == std::string_view::npos && scanned.sql != sql) std::abort();
  return 0;
}
