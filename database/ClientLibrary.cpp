#include "ClientLibrary.h"

#include <dlfcn.h>
#include <link.h>
#include <locale.h>
#include <stdlib.h>

#include <string>
#include <system_error>

#include "DatabaseError.h"

namespace brontelx::db::client {

const char* const kLibraryName = "libfbclient.so.2";

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

bool IsLoaded(const char* libraryName) {
  void* handle = dlopen(libraryName, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

}  // namespace

fs::path ProjectFirebirdRoot() {
  const fs::path beside = ThisModule().parent_path() / "firebird";
  if (IsFirebirdRoot(beside)) return beside;
  const fs::path buildTree = BRONTELX_BUILD_FIREBIRD_ROOT;
  if (IsFirebirdRoot(buildTree)) return buildTree;
  return {};
}

Firebird::IMaster* LoadMaster(const char* libraryName) {
  if (!getenv("FIREBIRD") && !IsLoaded(libraryName)) {
    const fs::path root = ProjectFirebirdRoot();
    if (!root.empty()) setenv("FIREBIRD", root.c_str(), 0);
  }
  // Never unloaded: the client's threads and exit handlers live as long as the process.
  void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    throw DatabaseError(std::string("Cannot load the Firebird client library ") + libraryName + ": " + dlerror());
  }
  using EntryPoint = Firebird::IMaster* (*)();
  const auto entry = reinterpret_cast<EntryPoint>(dlsym(library, "fb_get_master_interface"));
  if (!entry) {
    throw DatabaseError(std::string("The Firebird client library ") + libraryName +
                        " has no fb_get_master_interface: " + dlerror());
  }
  return entry();
}

Utf8FileNames::Utf8FileNames() {
  // Made once and kept: a thread may still use it when the process ends.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (utf8) previous_.reset(uselocale(utf8));
}

void Utf8FileNames::Restore::operator()(void* previousLocale) const noexcept {
  uselocale(static_cast<locale_t>(previousLocale));
}

}  // namespace brontelx::db::client
