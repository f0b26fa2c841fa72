// Scans arbitrary SQL for named parameters and compares the result with a reference scanner written
// as a plain state machine over single characters: outside '...' and "..." literals (a doubled
// quote reads as two literals, the same text), "--" comments (to the line break) and /* */
// comments, every ':' followed by an ASCII letter or '_' starts a name (letters, digits, '_', '$')
// that becomes one '?' marker; inside them nothing is mapped; every other byte is kept as it is.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "database/ParamScanner.h"
#include "fuzz/Check.h"

namespace {

using brontelx::db::ScannedSql;
using brontelx::fuzz::Check;

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsNamePart(char c) {
  return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$';
}

ScannedSql ReferenceScan(std::string_view sql) {
  enum class State { kCode, kSingleQuoted, kDoubleQuoted, kLineComment, kBlockComment };
  State state = State::kCode;
  ScannedSql out;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
    switch (state) {
      case State::kCode:
        if (c == '\'') state = State::kSingleQuoted;
        if (c == '"') state = State::kDoubleQuoted;
        if ((c == '-' && next == '-') || (c == '/' && next == '*')) {
          // Both characters open the comment: the '*' of "/*" cannot also close it.
          state = c == '-' ? State::kLineComment : State::kBlockComment;
          out.sql += sql.substr(i++, 2);
          continue;
        }
        if (c == ':' && i + 1 < sql.size() && IsNameStart(next)) {
          std::size_t end = i + 1;
          while (end < sql.size() && IsNamePart(sql[end])) ++end;
          out.markerNames.emplace_back(sql.substr(i + 1, end - i - 1));
          out.sql += '?';
          i = end - 1;
          continue;
        }
        break;
      case State::kSingleQuoted:
        if (c == '\'') state = State::kCode;
        break;
      case State::kDoubleQuoted:
        if (c == '"') state = State::kCode;
        break;
      case State::kLineComment:
        if (c == '\n') state = State::kCode;
        break;
      case State::kBlockComment:
        if (c == '*' && next == '/') {
          state = State::kCode;
          out.sql += "*/";
          ++i;
          continue;
        }
        break;
    }
    out.sql += c;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view sql(reinterpret_cast<const char*>(data), size);
  const ScannedSql scanned = brontelx::db::ScanParams(sql);
  const ScannedSql reference = ReferenceScan(sql);
  Check(scanned.sql == reference.sql, "markers replace exactly the names outside literals and comments");
  Check(scanned.markerNames == reference.markerNames, "each marker carries its name, in order");
  return 0;
}
