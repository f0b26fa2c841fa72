#include "ClientLibrary.h"

#include <dlfcn.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "DatabaseError.h"
#include "ProjectFirebirdRoot.h"

namespace brontelx::db::client {

const char* const kLibraryName = "libfbclient.so.2";

namespace {

bool IsLoaded(const char* libraryName) {
  void* handle = dlopen(libraryName, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

}  // namespace

Firebird::IMaster* LoadMaster(const char* libraryName) {
  if (!getenv("FIREBIRD") && !IsLoaded(libraryName)) {
    const std::filesystem::path root = ProjectFirebirdRoot();
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

}  // namespace brontelx::db::client
