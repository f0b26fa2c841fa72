#include "database/ProjectFirebirdRoot.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

namespace brontelx::db::client {
namespace {

namespace fs = std::filesystem;

// The file mapped at `address`, as the system names it in /proc/self/maps: the absolute path of
// the file itself, whatever name it was opened by. Empty when nothing is mapped there from a file
// that still exists.
fs::path MappedFile(const void* address) {
  const auto where = reinterpret_cast<std::uintptr_t>(address);
  std::ifstream maps("/proc/self/maps");
  // Lines like "7f1c2a000000-7f1c2a021000 r-xp 00000000 fe:00 1234   /usr/lib/libx.so".
  for (std::string line; std::getline(maps, line);) {
    const std::string_view text = line;
    std::uintptr_t start = 0, end = 0;
    const auto [afterStart, startError] = std::from_chars(text.data(), text.data() + text.size(), start, 16);
    if (startError != std::errc() || afterStart == text.data() + text.size() || *afterStart != '-') continue;
    const auto [afterEnd, endError] = std::from_chars(afterStart + 1, text.data() + text.size(), end, 16);
    if (endError != std::errc() || where < start || where >= end) continue;
    const std::size_t path = text.find('/');
    if (path == std::string_view::npos || text.ends_with(" (deleted)")) return {};
    return fs::path(text.substr(path));
  }
  return {};
}

bool IsFirebirdRoot(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / "firebird.conf", error);
}

}  // namespace

fs::path ProjectFirebirdRoot() {
  const fs::path module = MappedFile(reinterpret_cast<const void*>(&ProjectFirebirdRoot));
  if (module.empty()) return {};
  const fs::path beside = (module.parent_path() / "firebird").lexically_normal();
  return IsFirebirdRoot(beside) ? beside : fs::path();
}

}  // namespace brontelx::db::client
