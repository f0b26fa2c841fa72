#include "database/LockFolder.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace brontelx::db::client {
namespace {

std::string UserName(uid_t uid) {
  const passwd* entry = getpwuid(uid);
  return entry ? entry->pw_name : std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  const group* entry = getgrgid(gid);
  return entry ? entry->gr_name : std::to_string(gid);
}

std::string Described(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return path;
  char mode[8];
  std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(info.st_mode & 07777));
  return path + " (owner " + UserName(info.st_uid) + ":" + GroupName(info.st_gid) + ", mode " + mode + ")";
}

std::string Problem(const std::string& folder, const std::string& what) {
  return "The Firebird lock folder " + folder + " (FIREBIRD_LOCK) cannot be used by user " + UserName(geteuid()) +
         ": " + what +
         ". Every user of the programs on this machine must be able to write there: put them in group firebird "
         "and give the folder that group with the setgid bit (chgrp -R firebird " + folder + "; chmod 2770 " +
         folder + "), or set FIREBIRD_LOCK to a folder set up that way";
}

}  // namespace

std::string LockFolder() {
  const char* folder = std::getenv("FIREBIRD_LOCK");
  return folder && *folder ? folder : "/tmp/firebird";
}

std::string LockFolderProblem() {
  const std::string folder = LockFolder();
  std::error_code error;
  if (!std::filesystem::exists(folder, error)) {
    const std::string parent = std::filesystem::path(folder).parent_path().string();
    if (access(parent.c_str(), W_OK | X_OK) == 0) return {};
    return Problem(folder, "it does not exist, and " + Described(parent) + " does not let it be created");
  }
  if (access(folder.c_str(), R_OK | W_OK | X_OK) != 0) return Problem(folder, Described(folder) + " is not writable");
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string file = entry.path().string();
    if (access(file.c_str(), R_OK | W_OK) != 0) return Problem(folder, Described(file) + " is not writable");
  }
  return {};
}

}  // namespace brontelx::db::client
