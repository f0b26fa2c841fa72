#include "tests/winprograms/WinePaths.h"

#include <windows.h>

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

std::filesystem::path ProgramFolder() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return std::filesystem::path(path).parent_path();
}

std::string Setting(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  return value ? platform::win32::ToUtf8(value) : std::string();
}

}  // namespace brontelx::testing
