#pragma once

#include <filesystem>
#include <memory>

namespace Firebird {
class IMaster;
}

// Loading the Firebird client at run time. Its one entry point, fb_get_master_interface(), is
// taken here and nowhere else; everything else goes through the interfaces it returns. A Windows
// build loads fbclient.dll the same way (LoadLibraryW, GetProcAddress, and GetModuleFileNameW for
// the folder of the module).
namespace brontelx::db::client {

// libfbclient.so.2
extern const char* const kLibraryName;

// The root folder of the project's own Firebird configuration (firebird.conf with ServerMode =
// Classic, so that several processes share embedded database files, and intl/ with the character
// sets): "firebird" beside the module that holds this code (the program, or the shared library a
// host loaded), else the one staged in the build tree for the programs that run there (tests,
// benchmarks, tools). Empty when neither exists.
std::filesystem::path ProjectFirebirdRoot();

// Loads the client library and returns its master interface. Unless the host configured Firebird
// itself (the FIREBIRD variable is set, or the library is loaded already), FIREBIRD is first
// pointed at ProjectFirebirdRoot(), which the client reads when it loads; the system's Firebird
// configuration applies when there is no project root. Throws DatabaseError naming the library
// when it cannot be loaded.
Firebird::IMaster* LoadMaster(const char* libraryName = kLibraryName);

// While alive, the calling thread works in a UTF-8 LC_CTYPE. The embedded engine converts the
// UTF-8 file names it is given (isc_dpb_utf8_filename) to the character set of the locale, which
// it reads once, at its first conversion; the C locale of a program that never chose one cannot
// hold "à". Every attach and database creation runs inside one.
class Utf8FileNames {
 public:
  Utf8FileNames();

 private:
  struct Restore {
    void operator()(void* previousLocale) const noexcept;
  };
  std::unique_ptr<void, Restore> previous_;
};

}  // namespace brontelx::db::client
