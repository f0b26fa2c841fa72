#include "host/StagedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>

#include "base/Error.h"
#include "database/DRKDBUtility.h"

namespace brontelx::cli {
namespace {

namespace fs = std::filesystem;

constexpr char kMarkerHeading[] = "created by brontelx demo";

// The folder exists (made when missing) and a file can be created in it.
void CheckFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) throw Error("cannot create the folder " + folder.string() + ": " + error.message());
  if (!fs::is_directory(folder)) throw Error(folder.string() + " is not a folder");
  const fs::path probe = folder / (".brontelx-demo-probe-" + std::to_string(getpid()));
  const int fd = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) throw Error("cannot write in the folder " + folder.string() + ": " + std::strerror(errno));
  close(fd);
  fs::remove(probe, error);
}

// Which file `file` is: its device and inode, and its birth time where the file system keeps one,
// so that a later file that reuses the inode is told apart. Empty when it cannot be read.
std::string Identity(const fs::path& file) {
  struct statx info {};
  if (statx(AT_FDCWD, file.c_str(), AT_SYMLINK_NOFOLLOW, STATX_INO | STATX_BTIME, &info) != 0) return {};
  std::ostringstream identity;
  identity << info.stx_dev_major << ':' << info.stx_dev_minor << ':' << info.stx_ino;
  if (info.stx_mask & STATX_BTIME) identity << ':' << info.stx_btime.tv_sec << '.' << info.stx_btime.tv_nsec;
  return identity.str();
}

// The marker says that the demo put this very file in place.
bool MadeByTheDemo(const fs::path& target, const fs::path& marker) {
  std::ifstream in(marker);
  std::string heading, identity;
  return std::getline(in, heading) && heading == kMarkerHeading && std::getline(in, identity) &&
         !identity.empty() && identity == Identity(target);
}

void CheckTarget(const fs::path& target, const fs::path& marker) {
  const std::string ini = DatiIniPath(target.string());
  if (fs::exists(fs::symlink_status(ini)))
    throw Error(ini + " would send the demo's connections elsewhere: remove it or choose another folder");
  const fs::file_status status = fs::symlink_status(target);
  if (!fs::exists(status)) return;
  if (fs::is_symlink(status)) throw Error(target.string() + " is a link: it is left as it is");
  if (!fs::is_regular_file(status)) throw Error(target.string() + " is not a file: it is left as it is");
  if (!MadeByTheDemo(target, marker))
    throw Error(target.string() + " exists and was not created by the demo: it is left as it is (remove it, and " +
                marker.filename().string() + " beside it, to let the demo build a new one)");
}

// "<target>.demo-new-<process>-<random>": a name of this run's own.
fs::path StagingName(const fs::path& target) {
  static std::mt19937 random{std::random_device{}()};
  for (;;) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".demo-new-%d-%08x", static_cast<int>(getpid()),
                  static_cast<unsigned>(random()));
    fs::path staged = target.string() + suffix;
    if (!fs::exists(fs::symlink_status(staged))) return staged;
  }
}

}  // namespace

StagedFiles::StagedFiles(const std::vector<fs::path>& targets) {
  for (const fs::path& target : targets) {
    entries_.push_back({target, StagingName(target), target.string() + ".demo"});
  }
  for (const Entry& entry : entries_) CheckFolder(entry.target.parent_path());
  for (const Entry& entry : entries_) CheckTarget(entry.target, entry.marker);
  for (const Entry& entry : entries_) {
    if (fs::exists(entry.target)) claims_.emplace_back(entry.target);
  }
  std::vector<fs::path> staged;
  for (const Entry& entry : entries_) staged.push_back(entry.staged);
  undo_ = std::make_unique<OnInterrupt>([staged] {
    std::error_code ignored;
    for (const fs::path& file : staged) fs::remove(file, ignored);
  });
}

StagedFiles::~StagedFiles() {
  if (!committed_) RemoveStaged();
}

void StagedFiles::RemoveStaged() noexcept {
  std::error_code ignored;
  for (const Entry& entry : entries_) fs::remove(entry.staged, ignored);
}

void StagedFiles::Commit() {
  {
    const Uninterruptible section;
    for (const Entry& entry : entries_) {
      std::error_code error;
      fs::rename(entry.staged, entry.target, error);
      if (error) throw Error("cannot move " + entry.staged.string() + " to " + entry.target.string() + ": " + error.message());
    }
    committed_ = true;
  }
  claims_.clear();
  for (const Entry& entry : entries_) {
    std::ofstream marker(entry.marker, std::ios::trunc);
    marker << kMarkerHeading << "\n" << Identity(entry.target) << "\n";
    if (!marker.flush()) throw Error("cannot write " + entry.marker.string());
  }
}

}  // namespace brontelx::cli
