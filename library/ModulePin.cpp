#include "library/ModulePin.h"

#include <dlfcn.h>

namespace brontelx {

void PinModule() noexcept {
  static const bool pinned = [] {
    Dl_info module{};
    if (dladdr(reinterpret_cast<void*>(&PinModule), &module) == 0 || !module.dli_fname) return false;
    // The name the module was loaded by finds it among the loaded ones, whatever the current folder.
    return dlopen(module.dli_fname, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE) != nullptr;
  }();
  static_cast<void>(pinned);
}

}  // namespace brontelx
