#include "tests/support/StallingRelay.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace brontelx::testing {
namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  return address;
}

}  // namespace

StallingRelay::StallingRelay(int upstreamPort, int answersBeforeSilence)
    : upstreamPort_(upstreamPort), answersBeforeSilence_(answersBeforeSilence) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = Loopback(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      pipe2(wake_, O_CLOEXEC) != 0) {
    if (listener_ >= 0) close(listener_);
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Run(); });
}

StallingRelay::~StallingRelay() {
  stopping_ = true;
  const char byte = 0;
  static_cast<void>(write(wake_[1], &byte, 1));
  thread_.join();
  for (const Link& link : links_) {
    close(link.client);
    close(link.server);
  }
  close(listener_);
  close(wake_[0]);
  close(wake_[1]);
}

void StallingRelay::Silence() {
  const std::lock_guard lock(mutex_);
  for (Link& link : links_) link.silent = true;
}

void StallingRelay::Answer() { answersBeforeSilence_ = -1; }

void StallingRelay::Run() {
  char buffer[65536];
  while (!stopping_) {
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    {
      const std::lock_guard lock(mutex_);
      for (const Link& link : links_) {
        // A silent link is not read: what the client sends stays unanswered, as on a dead network.
        fds.push_back({link.silent ? -1 : link.client, POLLIN, 0});
        fds.push_back({link.silent ? -1 : link.server, POLLIN, 0});
      }
    }
    if (poll(fds.data(), fds.size(), 100) <= 0) continue;
    if (fds[1].revents & POLLIN) {
      const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
      const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
      const sockaddr_in upstream = Loopback(upstreamPort_);
      if (client >= 0 && server >= 0 &&
          connect(server, reinterpret_cast<const sockaddr*>(&upstream), sizeof upstream) == 0) {
        const std::lock_guard lock(mutex_);
        links_.push_back({client, server, 0, false});
      } else {
        if (client >= 0) close(client);
        if (server >= 0) close(server);
      }
      continue;
    }
    const std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < links_.size(); ++i) {
      Link& link = links_[i];
      for (const bool fromServer : {false, true}) {
        const pollfd& from = fds[2 + 2 * i + (fromServer ? 1 : 0)];
        if (link.silent || !(from.revents & (POLLIN | POLLHUP))) continue;
        const ssize_t got = read(from.fd, buffer, sizeof buffer);
        // A side that closed: the other side waits on, as behind a dead network.
        if (got <= 0) {
          link.silent = true;
          continue;
        }
        static_cast<void>(send(fromServer ? link.client : link.server, buffer, static_cast<size_t>(got), MSG_NOSIGNAL));
        if (fromServer && ++link.answers == answersBeforeSilence_) link.silent = true;
      }
    }
  }
}

}  // namespace brontelx::testing
