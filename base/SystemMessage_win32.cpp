#include "base/SystemMessage.h"

#include <windows.h>

#include "base/TextCodec.h"

namespace brontelx::os {

std::string SystemMessage(unsigned long error, std::string_view file) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring wide(buffer ? buffer : L"", buffer ? length : 0);
  LocalFree(buffer);
  while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) wide.pop_back();
  if (wide.empty()) return "Windows error " + std::to_string(error);
  std::string message =
      text::Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
  if (file.empty()) return message;
  for (std::size_t insert = message.find("%1"); insert != std::string::npos;
       insert = message.find("%1", insert + file.size())) {
    message.replace(insert, 2, file);
  }
  return message;
}

}  // namespace brontelx::os
