#include "ClientLibrary.h"

#include <windows.h>

#include <firebird/Interface.h>

#include <string>

#include "DatabaseError.h"
#include "TextCodec.h"
#include "Utf8Path.h"

namespace brontelx::db::client {

const char* const kLibraryName = "fbclient.dll";

namespace {

// The system's message for an error code of GetLastError, in UTF-8, without its line break.
std::string SystemMessage(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring message(buffer ? buffer : L"", buffer ? length : 0);
  LocalFree(buffer);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
    message.pop_back();
  if (message.empty()) return "Windows error " + std::to_string(error);
  return text::Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(message.data()), message.size() * 2));
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
                        SystemMessage(GetLastError()));
  }
  using EntryPoint = Firebird::IMaster*(ISC_EXPORT*)();
  const auto entry = reinterpret_cast<EntryPoint>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "fb_get_master_interface")));
  if (!entry) {
    throw DatabaseError(std::string("The Firebird client library ") + libraryName +
                        " has no fb_get_master_interface: " + SystemMessage(GetLastError()));
  }
  return entry();
}

}  // namespace brontelx::db::client
