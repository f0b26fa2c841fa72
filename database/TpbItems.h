#pragma once

#include <optional>
#include <string_view>

// The published transaction parameter items, by number and by name.
namespace brontelx::db::tpb {

constexpr int kFirstItem = 1;
constexpr int kLastItem = 20;

// The item's name without the "isc_tpb_" prefix ("read_committed" for 15); empty outside 1..20.
std::string_view ItemName(int item);

// The item number of a name given with or without the "isc_tpb_" prefix, matching any letter case.
// Also knows "lock_timeout" (21), which takes a number.
std::optional<int> ItemNumber(std::string_view name);

// True for "version3": the block's version byte, which the block builder writes itself.
bool IsVersionItem(std::string_view name);

}  // namespace brontelx::db::tpb
