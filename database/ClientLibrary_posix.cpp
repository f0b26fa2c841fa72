#include "database/ClientLibrary.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <string>

#include "base/SharedLibrary.h"
#include "database/DatabaseError.h"
#include "database/ProjectFirebirdRoot.h"

namespace brontelx::db::client {

const char* const kLibraryName = "libfbclient.so.2";

namespace {

bool IsLoaded(const char* libraryName) {
  void* handle = dlopen(libraryName, RTLD_LAZY | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

// A process started without descriptor 0, 1 or 2 (a service) would see the engine's lock files
// take those numbers, and its next write to standard output or error would land in them: each
// of them that is closed gets /dev/null.
void FillStandardDescriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    // The lowest free number: this one, as the lower ones are open by now.
    const int null = open("/dev/null", O_RDWR);
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      close(null);
    }
  }
}

}  // namespace

Firebird::IMaster* LoadMaster(const char* libraryName) {
  FillStandardDescriptors();
  if (!getenv("FIREBIRD") && !IsLoaded(libraryName)) {
    const std::filesystem::path root = ProjectFirebirdRoot();
    if (!root.empty()) setenv("FIREBIRD", root.c_str(), 0);
  }
  // Never unloaded: the client's threads and exit handlers live as long as the process.
  void* const library = os::LoadLibraryForGood(libraryName);
  if (!library) {
    throw DatabaseError(std::string("Cannot load the Firebird client library ") + libraryName + ": " +
                        os::LibraryError(libraryName));
  }
  using EntryPoint = Firebird::IMaster* (*)();
  const auto entry = reinterpret_cast<EntryPoint>(os::LibrarySymbol(library, "fb_get_master_interface"));
  if (!entry) {
    throw DatabaseError(std::string("The Firebird client library ") + libraryName +
                        " has no fb_get_master_interface: " + os::LibraryError(libraryName));
  }
  return entry();
}

}  // namespace brontelx::db::client
