#pragma once

#include <filesystem>

namespace brontelx {

// The file of the running program: the host that loaded the library, not the library itself (the
// user directory lies beside the host). /proc/self/exe on Linux, GetModuleFileNameW on Windows.
// Throws when the system cannot tell.
std::filesystem::path ExecutableFile();

}  // namespace brontelx
