#pragma once

namespace Firebird {
class IMaster;
}

// Loading the Firebird client at run time. Its one entry point, fb_get_master_interface(), is
// taken here and nowhere else; everything else goes through the interfaces it returns. One
// implementation per platform over base/SharedLibrary.h: ClientLibrary_posix.cpp and
// ClientLibrary_win32.cpp.
namespace brontelx::db::client {

// libfbclient.so.2 on POSIX systems, fbclient.dll on Windows.
extern const char* const kLibraryName;

// Loads the client library and returns its master interface. The library stays loaded for the
// rest of the process. Throws DatabaseError naming the library when it cannot be loaded.
//
// POSIX: unless the host configured Firebird itself (the FIREBIRD variable is set, or the library
// is loaded already), FIREBIRD is first pointed at ProjectFirebirdRoot(), which the client reads
// when it loads; the system's Firebird configuration applies when there is no project root.
// Windows: the system's search for DLLs finds it, beside the host's executable first, then in the
// system's folders and on PATH; the client reads its configuration beside itself.
Firebird::IMaster* LoadMaster(const char* libraryName = kLibraryName);

}  // namespace brontelx::db::client
