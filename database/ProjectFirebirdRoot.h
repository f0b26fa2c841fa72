#pragma once

#include <filesystem>

namespace brontelx::db::client {

// The root folder of the project's own Firebird configuration on POSIX systems (firebird.conf
// with ServerMode = Classic, so that several processes share embedded database files, and intl/
// with the character sets): "firebird" beside the module that holds this code (the program, or
// the shared library a host loaded), else the one staged in the build tree for the programs that
// run there (tests, benchmarks, tools). Empty when neither exists.
std::filesystem::path ProjectFirebirdRoot();

}  // namespace brontelx::db::client
