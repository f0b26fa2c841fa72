#include "tests/support/LoadedLibrary.h"

#include <dlfcn.h>

#include <stdexcept>
#include <vector>

namespace brontelx::testing {
namespace {

template <typename Function>
Function Entry(void* library, const char* name) {
  auto function = reinterpret_cast<Function>(dlsym(library, name));
  if (!function) throw std::runtime_error(std::string("the library does not export ") + name);
  return function;
}

}  // namespace

LoadedLibrary::LoadedLibrary(const char* path) {
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library) throw std::runtime_error(dlerror());
  showSettings = Entry<ShowFunction>(library, "ShowVelDatiValidazPersFormX");
  showTest = Entry<ShowFunction>(library, "ShowVelCollaudiPersFormX");
  lastError = Entry<ErrorFunction>(library, "GetUltimoErroreX");
}

std::string LoadedLibrary::LastError() const {
  std::vector<char> buffer(static_cast<std::size_t>(lastError(nullptr, 0)) + 1);
  lastError(buffer.data(), static_cast<std::int32_t>(buffer.size()));
  return buffer.data();
}

}  // namespace brontelx::testing
