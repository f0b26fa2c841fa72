#include "database/ParamScanner.h"

#include "base/Ascii.h"

namespace brontelx::db {
namespace {

bool IsNameStart(char c) { return ascii::IsLetter(c) || c == '_'; }
bool IsNamePart(char c) { return IsNameStart(c) || ascii::IsDigit(c) || c == '$'; }

}  // namespace

ScannedSql ScanParams(std::string_view sql) {
  ScannedSql result;
  result.sql.reserve(sql.size());
  std::size_t i = 0;
  auto copyUntil = [&](std::size_t end) {
    result.sql.append(sql.substr(i, end - i));
    i = end;
  };
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      // A doubled quote inside reads as the end of one literal and the start of the next: same text.
      const std::size_t close = sql.find(c, i + 1);
      copyUntil(close == std::string_view::npos ? sql.size() : close + 1);
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      const std::size_t eol = sql.find('\n', i);
      copyUntil(eol == std::string_view::npos ? sql.size() : eol);
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      const std::size_t close = sql.find("*/", i + 2);
      copyUntil(close == std::string_view::npos ? sql.size() : close + 2);
    } else if (c == ':' && i + 1 < sql.size() && IsNameStart(sql[i + 1])) {
      std::size_t end = i + 1;
      while (end < sql.size() && IsNamePart(sql[end])) ++end;
      result.markerNames.emplace_back(sql.substr(i + 1, end - i - 1));
      result.sql += '?';
      i = end;
    } else {
      result.sql += c;
      ++i;
    }
  }
  return result;
}

}  // namespace brontelx::db
