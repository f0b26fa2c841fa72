#include "database/ClientLibrary.h"

#include <firebird/Interface.h>

#include <string>

#include "base/SharedLibrary.h"
#include "database/DatabaseError.h"

namespace brontelx::db::client {

const char* const kLibraryName = "fbclient.dll";

Firebird::IMaster* LoadMaster(const char* libraryName) {
  // Never freed: the client's threads and its attachments live as long as the process.
  void* const library = os::LoadLibraryForGood(libraryName);
  if (!library) {
    throw DatabaseError(std::string("Cannot load the Firebird client library ") + libraryName + ": " +
                        os::LibraryError(libraryName));
  }
  using EntryPoint = Firebird::IMaster*(ISC_EXPORT*)();
  const auto entry = reinterpret_cast<EntryPoint>(os::LibrarySymbol(library, "fb_get_master_interface"));
  if (!entry) {
    throw DatabaseError(std::string("The Firebird client library ") + libraryName +
                        " has no fb_get_master_interface: " + os::LibraryError(libraryName));
  }
  return entry();
}

}  // namespace brontelx::db::client
