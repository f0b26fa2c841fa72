#include "base/ExecutableFile.h"

#include <windows.h>

#include <string>

#include "base/Error.h"

namespace brontelx {

std::filesystem::path ExecutableFile() {
  // Module null: the process's executable. The buffer grows until the whole path fits (paths may
  // exceed MAX_PATH).
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw Error("Cannot find the program's file (Windows error " + std::to_string(GetLastError()) + ")");
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace brontelx
