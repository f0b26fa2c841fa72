#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "tests/support/TempDir.h"

namespace brontelx::bench {

// A site whose three databases live on the private server, as a multi-workstation site has them:
// the user directory with users 1..users of company ALFA, each "Archivio" naming the archive on the
// server; the archive with the shared location of the delivery notes and a log of 10 000 entries;
// the delivery notes B0..B999. The files are made with the embedded engine in a temporary folder
// and closed, then reached only through the server. `hostFolder`/user/dati.ini sends a host there
// to the user directory; it is removed with the site.
class LoadSite {
 public:
  LoadSite(int port, const std::filesystem::path& hostFolder, int users);
  ~LoadSite();
  LoadSite(const LoadSite&) = delete;
  LoadSite& operator=(const LoadSite&) = delete;

  const std::string& UserDirectory() const { return users_; }
  const std::string& Archive() const { return archive_; }

  // Attachments and transactions on the server in the three databases, the counting one's left out.
  struct Counts {
    std::int64_t attachments = 0;
    std::int64_t transactions = 0;
    bool operator==(const Counts&) const = default;
  };
  Counts ServerCounts() const;

  // The delivery-note location the settings windows save, as stored.
  std::string StoredLocation() const;
  // POSX and POSY of the settings window's placement stored for `user`; empty when there is none.
  std::string StoredPlacement(std::int32_t user) const;

 private:
  testing::TempDir folder_;
  std::filesystem::path iniFile_;
  std::string users_;
  std::string archive_;
  std::string notes_;
  // The delivery-note database stays in use while the site runs, as the delivery-note program of a
  // site keeps it: else the server closes it whenever its last validation detaches, and an attach
  // that meets that close waits a whole second for it (the engine sleeps 1 s and tries again).
  db::Connection notesInUse_;
};

}  // namespace brontelx::bench
