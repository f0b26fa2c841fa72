#include "host/win32/ExportCall.h"

#include <charconv>
#include <stdexcept>
#include <vector>

#include "platform/win32/WideText.h"

namespace brontelx::winhost {
namespace {

using ShowEntry = std::int32_t(WINAPI*)(std::int32_t, std::int32_t);
using ErrorEntry = std::int32_t(WINAPI*)(char*, std::int32_t);

// An export's address as the function type it has; through void (*)() as the language allows.
template <typename Function>
Function As(FARPROC entry) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(entry));
}

}  // namespace

HMODULE LoadHostLibrary(const std::wstring& library) {
  const HMODULE module = LoadLibraryW(library.c_str());
  if (!module) {
    throw std::runtime_error("cannot load " + platform::win32::ToUtf8(library) + ": " +
                             platform::win32::SystemMessage(GetLastError()));
  }
  return module;
}

FARPROC FindExport(HMODULE library, const std::string& entry) {
  FARPROC address = nullptr;
  if (entry.size() > 1 && entry.front() == '#') {
    unsigned ordinal = 0;
    const char* digits = entry.data() + 1;
    const auto [end, error] = std::from_chars(digits, entry.data() + entry.size(), ordinal);
    if (error != std::errc() || end != entry.data() + entry.size() || ordinal == 0 || ordinal > 0xFFFF) {
      throw std::runtime_error("not an ordinal: " + entry);
    }
    address = GetProcAddress(library, MAKEINTRESOURCEA(ordinal));
  } else {
    address = GetProcAddress(library, entry.c_str());
  }
  if (!address) throw std::runtime_error("the DLL has no export " + entry);
  return address;
}

std::int32_t CallShowEntry(FARPROC entry, std::int32_t user, std::int32_t windowLog) {
  return As<ShowEntry>(entry)(user, windowLog);
}

std::string CallErrorEntry(FARPROC entry) {
  const auto call = As<ErrorEntry>(entry);
  const std::int32_t length = call(nullptr, 0);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  call(buffer.data(), static_cast<std::int32_t>(buffer.size()));
  return buffer.data();
}

}  // namespace brontelx::winhost
