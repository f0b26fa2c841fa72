#include "schema/SqlScript.h"

namespace brontelx::schema {
namespace {

constexpr std::string_view kBlanks = " \t\r\n";

void AddTrimmed(std::vector<std::string>& statements, const std::string& text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return;
  const auto last = text.find_last_not_of(kBlanks);
  statements.push_back(text.substr(first, last - first + 1));
}

}  // namespace

std::vector<std::string> SplitStatements(std::string_view script) {
  std::vector<std::string> statements;
  std::string current;
  std::size_t i = 0;
  while (i < script.size()) {
    const char c = script[i];
    const char next = i + 1 < script.size() ? script[i + 1] : '\0';
    if (c == '\'' || c == '"') {
      // A quoted text or identifier runs to its closing quote; a doubled quote stays inside it.
      std::size_t end = i + 1;
      while (end < script.size()) {
        if (script[end] == c) {
          if (end + 1 < script.size() && script[end + 1] == c) {
            end += 2;
            continue;
          }
          break;
        }
        ++end;
      }
      end = end < script.size() ? end + 1 : end;
      current.append(script.substr(i, end - i));
      i = end;
    } else if (c == '-' && next == '-') {
      const auto end = script.find('\n', i);
      i = end == std::string_view::npos ? script.size() : end;
    } else if (c == '/' && next == '*') {
      const auto end = script.find("*/", i + 2);
      i = end == std::string_view::npos ? script.size() : end + 2;
      current.push_back(' ');
    } else if (c == ';') {
      AddTrimmed(statements, current);
      current.clear();
      ++i;
    } else {
      current.push_back(c);
      ++i;
    }
  }
  AddTrimmed(statements, current);
  return statements;
}

}  // namespace brontelx::schema
