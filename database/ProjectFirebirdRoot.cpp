#include "ProjectFirebirdRoot.h"

#include <dlfcn.h>
#include <link.h>

#include <system_error>

namespace brontelx::db::client {
namespace {

namespace fs = std::filesystem;

// The file of the program or shared library this code is linked into.
fs::path ThisModule() {
  Dl_info info{};
  link_map* module = nullptr;
  if (!dladdr1(reinterpret_cast<void*>(&ThisModule), &info, reinterpret_cast<void**>(&module), RTLD_DL_LINKMAP) ||
      !module)
    return {};
  std::error_code error;
  // The program itself has no name in its link map entry.
  const fs::path file = module->l_name[0] ? fs::path(module->l_name) : fs::read_symlink("/proc/self/exe", error);
  return error ? fs::path() : fs::absolute(file, error);
}

bool IsFirebirdRoot(const fs::path& folder) {
  std::error_code error;
  return !folder.empty() && fs::is_regular_file(folder / "firebird.conf", error);
}

}  // namespace

fs::path ProjectFirebirdRoot() {
  const fs::path beside = ThisModule().parent_path() / "firebird";
  if (IsFirebirdRoot(beside)) return beside;
  const fs::path buildTree = BRONTELX_BUILD_FIREBIRD_ROOT;
  if (IsFirebirdRoot(buildTree)) return buildTree;
  return {};
}

}  // namespace brontelx::db::client
