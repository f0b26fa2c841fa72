#include "base/SharedLibrary.h"

#include <dlfcn.h>

namespace brontelx::os {

void* LoadLibraryForGood(const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); }

LibraryFunction LibrarySymbol(void* library, const char* symbol) {
  return reinterpret_cast<LibraryFunction>(dlsym(library, symbol));
}

std::string LibraryError(const char*) {
  const char* reason = dlerror();
  return reason ? reason : "";
}

}  // namespace brontelx::os
