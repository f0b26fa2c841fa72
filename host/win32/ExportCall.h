#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace brontelx::winhost {

// Loads a DLL by name or path, as the product's host does, and keeps it loaded for the rest of the
// process: windows it opened may outlive any point where unloading it would be safe. Throws
// std::runtime_error with the system's reason.
HMODULE LoadHostLibrary(const std::wstring& library);

// The export named `entry`, or the one with ordinal N when `entry` is "#N". Throws
// std::runtime_error when the DLL has none.
FARPROC FindExport(HMODULE library, const std::string& entry);

// Calls an entry of the product's shape: int32 (stdcall on 32-bit) taking a user code and a
// window-log id.
std::int32_t CallShowEntry(FARPROC entry, std::int32_t user, std::int32_t windowLog);

// Calls an entry that copies the last failure's message (int32 (char* buffer, int32 size), the
// message's full length returned) and returns the whole message.
std::string CallErrorEntry(FARPROC entry);

}  // namespace brontelx::winhost
