#include "database/internal/TpbItems.h"

#include <firebird/Interface.h>

#include <array>

#include "base/Ascii.h"

namespace brontelx::db::tpb {
namespace {

constexpr std::array<std::string_view, kLastItem + 1> kNames = {
    "",           "consistency",    "concurrency", "shared",          "protected",
    "exclusive",  "wait",           "nowait",      "read",            "write",
    "lock_read",  "lock_write",     "verb_time",   "commit_time",     "ignore_limbo",
    "read_committed", "autocommit", "rec_version", "no_rec_version", "restart_requests",
    "no_auto_undo"};

std::string_view WithoutPrefix(std::string_view name) {
  constexpr std::string_view kPrefix = "isc_tpb_";
  if (name.size() > kPrefix.size() && ascii::EqualsIgnoringCase(name.substr(0, kPrefix.size()), kPrefix))
    name.remove_prefix(kPrefix.size());
  return name;
}

}  // namespace

std::string_view ItemName(int item) {
  return item >= kFirstItem && item <= kLastItem ? kNames[item] : std::string_view();
}

std::optional<ParamItem> Lookup(std::string_view name) {
  name = WithoutPrefix(name);
  for (int item = kFirstItem; item <= kLastItem; ++item) {
    if (!ascii::EqualsIgnoringCase(name, kNames[item])) continue;
    const bool takesTable = item == isc_tpb_lock_read || item == isc_tpb_lock_write;
    return ParamItem{static_cast<unsigned char>(item), takesTable ? ParamItem::Value::Text : ParamItem::Value::None};
  }
  if (ascii::EqualsIgnoringCase(name, "lock_timeout")) return ParamItem{isc_tpb_lock_timeout, ParamItem::Value::Number};
  if (ascii::EqualsIgnoringCase(name, "version3")) return ParamItem{isc_tpb_version3, ParamItem::Value::Skip};
  return std::nullopt;
}

}  // namespace brontelx::db::tpb
