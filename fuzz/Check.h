#pragma once

#include <cstdio>
#include <cstdlib>

namespace brontelx::fuzz {

// Stops the run when a property of the code under test fails. libFuzzer reports the abort as a
// crash and saves the input that caused it.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "Property failed: %s\n", property);
  std::abort();
}

}  // namespace brontelx::fuzz
