#pragma once

#include <filesystem>

namespace brontelx::db::client {

// The root folder of the project's own Firebird configuration on POSIX systems (firebird.conf
// with ServerMode = Classic, so that several processes share embedded database files, and intl/
// with the character sets): "firebird" beside the file of the module that holds this code (the
// program, or the shared library a host loaded), as an absolute path without "." or ".." parts.
// The module's file is the one the system mapped, not the name it was loaded by, so a relative
// name, a symlink or a later change of the current folder all give the same folder. Empty when
// there is none.
std::filesystem::path ProjectFirebirdRoot();

}  // namespace brontelx::db::client
