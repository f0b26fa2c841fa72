#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/FileClaim.h"
#include "host/Interrupt.h"

namespace brontelx::cli {

// The demo's database files, replaced all together or not at all. Each new file is built beside
// the file it replaces, under a staging name of this run's own; only when all are built are they
// moved into place, each by one rename. Until then the files in place are not touched, and a
// failure or an interruption removes the staged files that this run created, and nothing else. A
// marker file beside each target ("<name>.demo") records which file the demo put there (its
// device, inode and birth time): any other file in a target's place, a copied marker included, is
// never replaced.
class StagedFiles {
 public:
  // Checks every target before anything is written, and throws brontelx::Error naming the first
  // problem: its folder cannot be made or written, a dati.ini beside it would send its connections
  // elsewhere, a file in its place is a folder, a link or not the one the demo put there, or
  // another process has that file open. The files in place stay claimed (FileClaim) until Commit,
  // so no program opens them meanwhile.
  explicit StagedFiles(const std::vector<std::filesystem::path>& targets);
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Where the new file for targets[index] is to be built: a name no file has yet.
  const std::filesystem::path& Staged(std::size_t index) const { return entries_.at(index).staged; }

  // Moves every staged file into place and marks it as the demo's.
  void Commit();

 private:
  struct Entry {
    std::filesystem::path target;
    std::filesystem::path staged;
    std::filesystem::path marker;
  };
  // Removes the staged files: names of this run's own, which no file had when it began.
  void RemoveStaged() noexcept;

  std::vector<Entry> entries_;
  std::vector<FileClaim> claims_;
  std::unique_ptr<OnInterrupt> undo_;
  bool committed_ = false;
};

}  // namespace brontelx::cli
