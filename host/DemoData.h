#pragma once

#include <string>

namespace brontelx::cli {

// The three demo databases.
struct DemoFiles {
  std::string userDirectory;
  std::string archive;
  std::string deliveryNotes;
};

// The programs' folder, which the users' parameter "Directory bin" names: the folder that holds
// user/ with the user directory.
std::string ProgramsFolder(const DemoFiles& names);

// Creates the three databases at the paths of `files` (which must not exist) and fills them with a
// small, consistent set of users, parameters, delivery notes, acquisition-log chains, window-log
// rows (100 for the test window, 101 for the settings window) and a stored placement of user 1's
// test window. The values stored in them (the users' "Archivio", VelZidBolDBRux) name the
// databases by `names`: where they will be used from.
void CreateDemoDatabases(const DemoFiles& files, const DemoFiles& names);

}  // namespace brontelx::cli
