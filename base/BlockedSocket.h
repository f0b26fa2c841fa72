#pragma once

#include <cstdint>

// The socket a thread of this process waits on inside a send or receive, shut down so that the
// wait ends: the only way to end an attach that a silent server holds, since the client offers no
// handle to cancel before the attachment exists.
namespace brontelx::db::client {

// Identifies the calling thread for CutBlockedSocket.
std::uint64_t CurrentThread();
// Shuts the socket `thread` is blocked on; false when the thread is not blocked on a socket now
// (it may be between two waits: try again shortly).
bool CutBlockedSocket(std::uint64_t thread);

}  // namespace brontelx::db::client
