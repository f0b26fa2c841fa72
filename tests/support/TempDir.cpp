#include "tests/support/TempDir.h"

#include <stdlib.h>

#include <cerrno>
#include <string>
#include <system_error>

namespace brontelx::testing {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "brontelx-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    throw std::system_error(errno, std::generic_category(), "cannot create a folder like " + pattern);
  }
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace brontelx::testing
