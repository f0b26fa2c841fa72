#pragma once

#include <filesystem>

namespace brontelx::cli {

// Creates the demo databases (the user directory beside this program, the company archive and the
// delivery-note database in `folder`) and prints what the library does with them: connection
// strings of dati.ini layouts, a started session and the validation of a few delivery-note codes.
// Every target is checked before anything is written, and the files in place are replaced only
// when all new ones are built (StagedFiles); a failure throws brontelx::Error and leaves them as
// they were. Returns the process exit code.
int RunDemo(const std::filesystem::path& folder);

}  // namespace brontelx::cli
