#include "tests/support/SilentServer.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace brontelx::testing {

SilentServer::SilentServer() {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener_ >= 0) close(listener_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
}

SilentServer::~SilentServer() {
  for (const int fd : accepted_) close(fd);
  close(listener_);
}

int SilentServer::TakeWaiting() {
  int taken = 0;
  while (AcceptOne(std::chrono::seconds(0))) ++taken;
  return taken;
}

bool SilentServer::AcceptOne(std::chrono::seconds bound) {
  pollfd fd{listener_, POLLIN, 0};
  if (poll(&fd, 1, static_cast<int>(std::chrono::milliseconds(bound).count())) != 1) return false;
  const int client = accept(listener_, nullptr, nullptr);
  if (client < 0) return false;
  accepted_.push_back(client);
  return true;
}

}  // namespace brontelx::testing
