#pragma once

#include <stdexcept>
#include <string>

namespace brontelx {

// The library's general error: a message for a person, nothing else.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace brontelx
