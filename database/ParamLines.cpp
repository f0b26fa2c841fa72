#include "database/internal/ParamLines.h"

#include <charconv>

#include "database/DatabaseError.h"

namespace brontelx::db {

std::optional<int> ParseParamNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

void AddParamLines(ParamBlock& block, const std::vector<std::string>& lines, ParamLookup lookup,
                   std::string_view listName) {
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    const std::string_view name = std::string_view(line).substr(0, eq);
    const std::optional<std::string> value =
        eq == std::string::npos ? std::nullopt : std::optional<std::string>(line.substr(eq + 1));
    const std::optional<ParamItem> item = lookup(name);
    if (!item) throw DatabaseError("Unknown " + std::string(listName) + " parameter \"" + line + "\"");
    const auto invalid = [&] { return DatabaseError("Invalid " + std::string(listName) + " parameter \"" + line + "\""); };
    switch (item->value) {
      case ParamItem::Value::None:
        if (value) throw invalid();
        block.AddTag(item->tag);
        break;
      case ParamItem::Value::Text:
        block.AddText(item->tag, value.value_or(std::string()));
        break;
      case ParamItem::Value::Number: {
        const std::optional<int> number = value ? ParseParamNumber(*value) : std::nullopt;
        if (!number) throw invalid();
        block.AddInt(item->tag, *number);
        break;
      }
      case ParamItem::Value::Skip:
        break;
    }
  }
}

}  // namespace brontelx::db
