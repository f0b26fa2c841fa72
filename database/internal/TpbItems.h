#pragma once

#include <optional>
#include <string_view>

#include "database/internal/ParamLines.h"

// The published transaction parameter items, by number and by name.
namespace brontelx::db::tpb {

constexpr int kFirstItem = 1;
constexpr int kLastItem = 20;

// The item's name without the "isc_tpb_" prefix ("read_committed" for 15); empty outside 1..20.
std::string_view ItemName(int item);

// The item a transaction parameter line names, with or without the "isc_tpb_" prefix, in any
// letter case: items 1..20 ("lock_read" and "lock_write" take a table name), "lock_timeout" (21,
// takes seconds) and "version3", the block's version byte, which the builder writes itself.
std::optional<ParamItem> Lookup(std::string_view name);

}  // namespace brontelx::db::tpb
