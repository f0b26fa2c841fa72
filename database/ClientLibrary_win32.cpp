#include "ClientLibrary.h"

#include <windows.h>

#include <firebird/Interface.h>

#include <string>
#include <string_view>

#include "DatabaseError.h"
#include "TextCodec.h"
#include "Utf8Path.h"

namespace brontelx::db::client {

const char* const kLibraryName = "fbclient.dll";

namespace {

// The system's message for an error code of GetLastError about the library `file`, in UTF-8,
// without its line break. Messages about a file name it by the insert %1 ("Bad EXE format for
// %1."), which is filled with the name; other inserts stay as they are.
std::string SystemMessage(DWORD error, std::string_view file) {
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
  for (std::size_t insert = message.find("%1"); insert != std::string::npos;
       insert = message.find("%1", insert + file.size())) {
    message.replace(insert, 2, file);
  }
  return message;
}

// Loads the DLL without the system's error dialogs: a failure is reported to the host as a
// message, never by a box the host did not ask for.
HMODULE LoadQuietly(const char* libraryName) {
  DWORD previousMode = 0;
  const bool modeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  const HMODULE library = LoadLibraryW(PathFromUtf8(libraryName).c_str());
  const DWORD error = ::GetLastError();
  if (modeSet) SetThreadErrorMode(previousMode, nullptr);
  ::SetLastError(error);
  return library;
}

}  // namespace

Firebird::IMaster* LoadMaster(const char* libraryName) {
  // Never freed: the client's threads and its attachments live as long as the process.
  const HMODULE library = LoadQuietly(libraryName);
  if (!library) {
    throw DatabaseError(std::string("Cannot load the Firebird client library ") + libraryName + ": " +
                        SystemMessage(GetLastError(), libraryName));
  }
  using EntryPoint = Firebird::IMaster*(ISC_EXPORT*)();
  const auto entry = reinterpret_cast<EntryPoint>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "fb_get_master_interface")));
  if (!entry) {
    throw DatabaseError(std::string("The Firebird client library ") + libraryName +
                        " has no fb_get_master_interface: " + SystemMessage(GetLastError(), libraryName));
  }
  return entry();
}

}  // namespace brontelx::db::client
