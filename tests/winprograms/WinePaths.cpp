#include "tests/winprograms/WinePaths.h"

#include <cstdlib>

#include "platform/win32/WideText.h"

namespace brontelx::testing {

std::filesystem::path WindowsPath(const std::string& path) {
  std::wstring windows = platform::win32::ToWide(path);
  if (windows.empty() || windows.front() != L'/') return std::filesystem::path(windows);
  for (wchar_t& c : windows) {
    if (c == L'/') c = L'\\';
  }
  return std::filesystem::path(L"Z:" + windows);
}

std::string Setting(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? platform::win32::ToUtf8(value) : std::string();
}

}  // namespace brontelx::testing
