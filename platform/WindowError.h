#pragma once

#include <stdexcept>

namespace brontelx::platform {

// A window cannot be built or has no such control.
class WindowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace brontelx::platform
