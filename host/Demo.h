#pragma once

#include <filesystem>

namespace brontelx::demo {

// Creates the demo databases in `folder` (the user directory beside this program) and prints what
// the library does with them: connection strings of dati.ini layouts, a started session and the
// validation of a few delivery-note codes. Returns the process exit code.
int RunDemo(const std::filesystem::path& folder);

}  // namespace brontelx::demo
