#pragma once

#include <filesystem>

namespace brontelx::cli {

// An exclusive claim on a database file. The Firebird engine, embedded or server, locks every
// database file it opens with flock(): exclusively in Super mode, shared in Classic mode. Taking the
// exclusive lock therefore succeeds only when no engine of any other process has the file open, and
// while it is held no engine can open it. The claim ends with the object.
class FileClaim {
 public:
  // Throws brontelx::Error when the file cannot be opened, or when another process has it open
  // (naming that process when the system tells).
  explicit FileClaim(const std::filesystem::path& file);
  ~FileClaim();
  FileClaim(FileClaim&& other) noexcept;
  FileClaim& operator=(FileClaim&&) = delete;
  FileClaim(const FileClaim&) = delete;
  FileClaim& operator=(const FileClaim&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace brontelx::cli
