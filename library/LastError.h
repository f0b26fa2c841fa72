#pragma once

#include <cstdint>

namespace brontelx {

// The message of the last failed entry-point call of each thread, as GetUltimoErroreX hands it out.
// Nothing here throws: the entry points are noexcept. A message that cannot be stored for want of
// memory is replaced by a fixed one, and each thread's message is freed when the thread ends
// (through a POSIX thread key, which the MinGW DLL serves from inside itself: no thread_local with
// a destructor, which would tie the DLL's unloading to the threads that called it).

// Records `message` as the calling thread's last failure.
void RecordLastError(const char* message) noexcept;
// Records the calling thread's last call as a success: no message.
void ClearLastError() noexcept;

// Copies the message into `buffer` as the C interface promises and returns its full length.
std::int32_t CopyLastError(char* buffer, std::int32_t size) noexcept;

}  // namespace brontelx
