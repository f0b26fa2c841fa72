#include "host/FileClaim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "base/Error.h"

namespace brontelx::cli {
namespace {

// "process 1234 (isql-fb)" for the process holding a lock on the file open as `fd`, from
// /proc/locks; "another process" when it cannot be told.
std::string LockHolder(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return "another process";
  char device[64];
  std::snprintf(device, sizeof device, "%02x:%02x:%llu", major(info.st_dev), minor(info.st_dev),
                static_cast<unsigned long long>(info.st_ino));
  std::ifstream locks("/proc/locks");
  // Lines like "1: FLOCK  ADVISORY  WRITE 25716 fe:00:10953265 0 EOF".
  for (std::string line; std::getline(locks, line);) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, pid, where;
    if (!(fields >> number >> kind >> mode >> access >> pid >> where) || where != device) continue;
    if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos || pid == "0") continue;
    std::string name;
    std::getline(std::ifstream("/proc/" + pid + "/comm"), name);
    return "process " + pid + (name.empty() ? "" : " (" + name + ")");
  }
  return "another process";
}

}  // namespace

FileClaim::FileClaim(const std::filesystem::path& file) {
  fd_ = open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) throw Error("cannot open " + file.string() + ": " + std::strerror(errno));
  int result;
  do {
    result = flock(fd_, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    const std::string holder = error == EWOULDBLOCK ? LockHolder(fd_) : std::string();
    close(fd_);
    if (error == EWOULDBLOCK) throw Error(file.string() + " is in use: " + holder + " has it open; close it and try again");
    throw Error("cannot lock " + file.string() + ": " + std::strerror(error));
  }
}

FileClaim::FileClaim(FileClaim&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileClaim::~FileClaim() {
  if (fd_ >= 0) close(fd_);
}

}  // namespace brontelx::cli
