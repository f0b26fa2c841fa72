#pragma once

#include <filesystem>
#include <string>

namespace brontelx::demo {

// Where the demo databases live: the user directory beside the running program (where the
// session looks for it), the company archive and the delivery-note database in `folder`.
struct DemoFiles {
  std::string userDirectory;
  std::string archive;
  std::string deliveryNotes;
};

// Creates the three databases afresh and fills them with a small, consistent set of users,
// parameters, delivery notes and acquisition-log chains. Files of an earlier demo are replaced;
// any other file in their place is left alone and raises an error.
DemoFiles CreateDemoDatabases(const std::filesystem::path& folder);

}  // namespace brontelx::demo
