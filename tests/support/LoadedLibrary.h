#pragma once

#include <cstdint>
#include <string>

namespace brontelx::testing {

// The library as a host loads it: with dlopen, reached through its exported names only. It stays
// loaded for the rest of the process, as windows it opened may outlive the test.
class LoadedLibrary {
 public:
  using ShowFunction = std::int32_t (*)(std::int32_t, std::int32_t);
  using ErrorFunction = std::int32_t (*)(char*, std::int32_t);

  // Throws std::runtime_error when the library or one of its entry points cannot be found.
  explicit LoadedLibrary(const char* path);

  ShowFunction showSettings = nullptr;  // ShowVelDatiValidazPersFormX
  ShowFunction showTest = nullptr;      // ShowVelCollaudiPersFormX
  ErrorFunction lastError = nullptr;    // GetUltimoErroreX

  // The message of the last failed call, read the way a host reads it: length first.
  std::string LastError() const;
};

}  // namespace brontelx::testing
