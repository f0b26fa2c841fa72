#pragma once

#include <string>

// Loading a shared library at run time for the rest of the process: dlopen on POSIX systems,
// LoadLibraryW on Windows, there without the system's error boxes (a failure reaches the host as a
// message, never by a box it did not ask for). SharedLibrary_posix.cpp and SharedLibrary_win32.cpp.
namespace brontelx::os {

using LibraryFunction = void (*)();

// Loads the library `name`, which stays loaded (its threads and exit handlers may outlive any
// caller). Null when it cannot be loaded; LibraryError then tells why.
void* LoadLibraryForGood(const char* name);
// The function `symbol` of `library`, or null; LibraryError then tells why.
LibraryFunction LibrarySymbol(void* library, const char* symbol);
// The system's reason for the calling thread's last failed call above, about the library `name`.
std::string LibraryError(const char* name);

}  // namespace brontelx::os
