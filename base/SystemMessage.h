#pragma once

#include <string>
#include <string_view>

namespace brontelx::os {

// Windows only: the system's message for an error code of GetLastError, in UTF-8, without its line
// break ("Windows error N" when the system has none). Messages about a file name it by the insert
// %1 ("Bad EXE format for %1."), which is filled with `file` when one is given; other inserts stay
// as they are.
std::string SystemMessage(unsigned long error, std::string_view file = {});

}  // namespace brontelx::os
