#pragma once

#include <filesystem>

namespace brontelx::testing {

// A fresh folder of its own under the system's temporary directory, removed with everything in it
// when the object is destroyed.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace brontelx::testing
