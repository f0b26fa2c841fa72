#include "tests/support/PrivateServer.h"

#include <stdexcept>

#include "tests/support/ChildProcess.h"

namespace brontelx::testing {

PrivateServer::PrivateServer(const std::string& password) {
  const ChildResult started = RunChild(BRONTELX_FBSERVER_SCRIPT, {"start", root_.Path().string()}, {},
                                       {"BRONTELX_FB_SERVER_PASSWORD=" + password});
  if (!started.status.exited || started.status.code != 0) {
    throw std::runtime_error("the private Firebird server did not start: " + started.errors);
  }
  port_ = std::stoi(started.output);
  running_ = true;
}

PrivateServer::~PrivateServer() {
  try {
    Stop();
  } catch (...) {
    // The folder goes anyway; fbserver.sh kills a server that does not stop.
  }
}

std::string PrivateServer::Location(const std::string& path) const {
  return "127.0.0.1/" + std::to_string(port_) + ":" + path;
}

void PrivateServer::Stop() {
  if (!running_) return;
  running_ = false;
  RunChild(BRONTELX_FBSERVER_SCRIPT, {"stop", root_.Path().string()});
}

}  // namespace brontelx::testing
