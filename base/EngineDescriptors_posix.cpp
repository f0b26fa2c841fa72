#include "base/EngineDescriptors.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace brontelx::db::client {
namespace {

std::vector<int> OpenDescriptors() {
  std::vector<int> fds;
  DIR* folder = opendir("/proc/self/fd");
  if (!folder) return fds;
  const int own = dirfd(folder);
  while (const dirent* entry = readdir(folder)) {
    char* end = nullptr;
    const long fd = std::strtol(entry->d_name, &end, 10);
    if (*end == '\0' && end != entry->d_name && fd != own) fds.push_back(static_cast<int>(fd));
  }
  closedir(folder);
  std::sort(fds.begin(), fds.end());
  return fds;
}

}  // namespace

EngineDescriptors::EngineDescriptors() : before_(OpenDescriptors()) {}

EngineDescriptors::~EngineDescriptors() {
  for (const int fd : OpenDescriptors()) {
    if (std::binary_search(before_.begin(), before_.end(), fd)) continue;
    const int flags = fcntl(fd, F_GETFD);
    if (flags >= 0 && !(flags & FD_CLOEXEC)) fcntl(fd, F_SETFD, flags | FD_CLOEXEC);
  }
}

}  // namespace brontelx::db::client
