#include "base/BlockedSocket.h"

#include <windows.h>

namespace brontelx::db::client {

std::uint64_t CurrentThread() { return GetCurrentThreadId(); }

bool CutBlockedSocket(std::uint64_t thread) {
  // A blocking Winsock call is synchronous I/O of its thread, which this cancels.
  HANDLE handle = OpenThread(THREAD_TERMINATE, FALSE, static_cast<DWORD>(thread));
  if (!handle) return false;
  const bool cancelled = CancelSynchronousIo(handle) != 0;
  CloseHandle(handle);
  return cancelled;
}

}  // namespace brontelx::db::client
