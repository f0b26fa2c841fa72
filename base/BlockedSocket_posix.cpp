#include "base/BlockedSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace brontelx::db::client {
namespace {

// The socket named by the system call `thread` is blocked in, read from
// /proc/self/task/<thread>/syscall ("number arg1 arg2 ..."), or -1.
int WaitedSocket(std::uint64_t thread) {
  std::ifstream file("/proc/self/task/" + std::to_string(thread) + "/syscall");
  long number = -1;
  unsigned long long args[3] = {};
  if (!(file >> number >> std::hex >> args[0] >> args[1] >> args[2])) return -1;  // "running"
  long fd = -1;
  switch (number) {
    case SYS_read:
    case SYS_write:
    case SYS_readv:
    case SYS_writev:
    case SYS_recvfrom:
    case SYS_sendto:
    case SYS_recvmsg:
    case SYS_sendmsg:
      fd = static_cast<long>(args[0]);
      break;
#ifdef SYS_poll
    case SYS_poll:
#endif
    case SYS_ppoll:
      // The thread waits on a single descriptor: the array lies in this process.
      if (args[1] == 1) fd = reinterpret_cast<const pollfd*>(args[0])->fd;
      break;
#ifdef SYS_select
    case SYS_select:
#endif
    case SYS_pselect6:
      // select on one descriptor: the highest one plus one.
      fd = static_cast<long>(args[0]) - 1;
      break;
    default:
      return -1;
  }
  struct stat info {};
  if (fd < 0 || fstat(static_cast<int>(fd), &info) != 0 || !S_ISSOCK(info.st_mode)) return -1;
  return static_cast<int>(fd);
}

}  // namespace

std::uint64_t CurrentThread() { return static_cast<std::uint64_t>(gettid()); }

bool CutBlockedSocket(std::uint64_t thread) {
  const int fd = WaitedSocket(thread);
  // Read twice: the descriptor is cut only while the thread still waits on it.
  if (fd < 0 || WaitedSocket(thread) != fd) return false;
  return shutdown(fd, SHUT_RDWR) == 0;
}

}  // namespace brontelx::db::client
