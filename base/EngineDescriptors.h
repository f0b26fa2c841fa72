#pragma once

#include <vector>

// While alive, remembers which descriptors the process holds; when it ends, the descriptors opened
// meanwhile (by the engine: database files, lock files, sockets) are made close-on-exec, so that a
// program the host starts inherits none of them. An inherited database or lock file would keep the
// database locked after the host closed its windows. Loading the client, every attach and every
// database creation run inside one.
// Windows: the engine's handles are not inheritable; nothing to do.
namespace brontelx::db::client {

class EngineDescriptors {
 public:
  EngineDescriptors();
  ~EngineDescriptors();
  EngineDescriptors(const EngineDescriptors&) = delete;
  EngineDescriptors& operator=(const EngineDescriptors&) = delete;

 private:
  std::vector<int> before_;  // POSIX: the descriptors open when the guard began, in order
};

}  // namespace brontelx::db::client
