#include "StagedFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string>
#include <system_error>

#include "DRKDBUtility.h"
#include "Error.h"

namespace brontelx::cli {
namespace {

namespace fs = std::filesystem;

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

void CheckTarget(const fs::path& target, const fs::path& marker) {
  const std::string ini = DatiIniPath(target.string());
  if (fs::exists(fs::symlink_status(ini)))
    throw Error(ini + " would send the demo's connections elsewhere: remove it or choose another folder");
  const fs::file_status status = fs::symlink_status(target);
  if (!fs::exists(status)) return;
  if (fs::is_symlink(status)) throw Error(target.string() + " is a link: it is left as it is");
  if (!fs::is_regular_file(status)) throw Error(target.string() + " is not a file: it is left as it is");
  if (!fs::exists(marker))
    throw Error(target.string() + " exists and was not created by the demo: it is left as it is");
}

}  // namespace

StagedFiles::StagedFiles(const std::vector<fs::path>& targets) {
  for (const fs::path& target : targets) {
    entries_.push_back({target, target.string() + ".demo-new", target.string() + ".demo"});
  }
  for (const Entry& entry : entries_) CheckFolder(entry.target.parent_path());
  for (const Entry& entry : entries_) CheckTarget(entry.target, entry.marker);
  for (const Entry& entry : entries_) {
    if (fs::exists(entry.target)) claims_.emplace_back(entry.target);
  }
  // Staged files of a demo that was stopped before it finished.
  RemoveStaged();
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
    if (fs::exists(entry.marker)) continue;
    std::ofstream marker(entry.marker);
    marker << "created by brontelx demo\n";
    if (!marker.flush()) throw Error("cannot write " + entry.marker.string());
  }
}

}  // namespace brontelx::cli
