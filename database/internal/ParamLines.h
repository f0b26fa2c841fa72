#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/internal/ParamBlock.h"

// The parameter lists of connections and transactions: one "name" or "name=value" line an item.
namespace brontelx::db {

// What a line's name stands for in a parameter block, and the value it takes.
struct ParamItem {
  enum class Value {
    None,    // a bare tag; a line with a value is an error
    Text,    // the text after '=' (empty without one)
    Number,  // a whole number, digits with an optional '-', nothing else
    Skip,    // written by the block builder itself (the version byte): the line is left out
  };
  unsigned char tag;
  Value value;
};

// The item a name stands for; empty for a name the list does not know.
using ParamLookup = std::optional<ParamItem> (*)(std::string_view name);

// Appends the items of `lines` to `block`. `listName` ("connection", "transaction") names the list
// in the DatabaseError raised for a line with an unknown name or an unfit value.
void AddParamLines(ParamBlock& block, const std::vector<std::string>& lines, ParamLookup lookup,
                   std::string_view listName);

// A whole number written as digits with an optional leading '-' that fits an int; empty otherwise.
std::optional<int> ParseParamNumber(std::string_view text);

}  // namespace brontelx::db
