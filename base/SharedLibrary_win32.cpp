#include "base/SharedLibrary.h"

#include <windows.h>

#include "base/SystemMessage.h"
#include "base/Utf8Path.h"

namespace brontelx::os {

void* LoadLibraryForGood(const char* name) {
  DWORD previousMode = 0;
  const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  const HMODULE library = LoadLibraryW(PathFromUtf8(name).c_str());
  const DWORD error = ::GetLastError();
  if (modeSet) SetThreadErrorMode(previousMode, nullptr);
  ::SetLastError(error);
  return library;
}

LibraryFunction LibrarySymbol(void* library, const char* symbol) {
  return reinterpret_cast<LibraryFunction>(GetProcAddress(static_cast<HMODULE>(library), symbol));
}

std::string LibraryError(const char* name) { return SystemMessage(::GetLastError(), name); }

}  // namespace brontelx::os
