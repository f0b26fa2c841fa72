#include "bench/LatencyProxy.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace brontelx::bench {
namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what + ": " + std::strerror(errno)); }

void NoDelay(int socket) {
  const int on = 1;
  setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// Bytes on their way in one direction, each chunk due at its own time.
struct Direction {
  struct Chunk {
    Clock::time_point due;
    std::string bytes;
  };
  std::deque<Chunk> pending;
  bool closed = false;  // the reading end has closed; shut the writing end once all is delivered
};

struct Relay {
  int client = -1;
  int server = -1;
  Direction up;    // client to server
  Direction down;  // server to client
  bool clientSpoke = false;  // since the server last answered
  bool done = false;

  ~Relay() {
    if (client >= 0) close(client);
    if (server >= 0) close(server);
  }
};

int ConnectTo(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) Fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(fd);
    return -1;
  }
  NoDelay(fd);
  return fd;
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

LatencyProxy::LatencyProxy(int targetPort) : targetPort_(targetPort) {
  listener_ = socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) Fail("socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) Fail("bind");
  if (listen(listener_, 64) != 0) Fail("listen");
  socklen_t length = sizeof address;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  if (pipe(wake_) != 0) Fail("pipe");
  thread_ = std::thread([this] { Run(); });
}

LatencyProxy::~LatencyProxy() {
  const char stop = 0;
  if (write(wake_[1], &stop, 1) < 0) {
    // The thread then ends with the process; nothing more can be done here.
  }
  thread_.join();
  close(wake_[0]);
  close(wake_[1]);
  close(listener_);
}

void LatencyProxy::Run() {
  std::vector<std::unique_ptr<Relay>> relays;
  char buffer[65536];
  for (;;) {
    // Deliver what is due; find when the next chunk is.
    const Clock::time_point now = Clock::now();
    Clock::time_point next = Clock::time_point::max();
    for (auto& relay : relays) {
      for (auto [direction, to] : {std::pair{&relay->up, relay->server}, std::pair{&relay->down, relay->client}}) {
        while (!direction->pending.empty() && direction->pending.front().due <= now) {
          if (!WriteAll(to, direction->pending.front().bytes)) relay->done = true;
          direction->pending.pop_front();
        }
        if (!direction->pending.empty()) next = std::min(next, direction->pending.front().due);
        if (direction->closed && direction->pending.empty()) relay->done = true;
      }
    }
    std::erase_if(relays, [](const std::unique_ptr<Relay>& relay) { return relay->done; });

    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
    // An end that has closed is not watched any more (it would report its end again and again).
    for (auto& relay : relays) {
      fds.push_back({relay->up.closed ? -1 : relay->client, POLLIN, 0});
      fds.push_back({relay->down.closed ? -1 : relay->server, POLLIN, 0});
    }
    // Waits to the microsecond, so that chunks are not delivered late by a rounded timeout.
    timespec timeout{};
    timespec* until = nullptr;
    if (next != Clock::time_point::max()) {
      const auto wait = std::max<std::int64_t>(
          0, std::chrono::duration_cast<std::chrono::nanoseconds>(next - Clock::now()).count());
      timeout = {static_cast<time_t>(wait / 1000000000), static_cast<long>(wait % 1000000000)};
      until = &timeout;
    }
    if (ppoll(fds.data(), fds.size(), until, nullptr) < 0 && errno != EINTR) return;
    if (fds[0].revents) return;
    const std::size_t polled = relays.size();
    if (fds[1].revents & POLLIN) {
      const int client = accept(listener_, nullptr, nullptr);
      if (client >= 0) {
        NoDelay(client);
        auto relay = std::make_unique<Relay>();
        relay->client = client;
        relay->server = ConnectTo(targetPort_);
        if (relay->server >= 0) {
          ++connections_;
          relays.push_back(std::move(relay));
        }
      }
    }
    const Clock::time_point arrival = Clock::now();
    const auto delay = std::chrono::milliseconds(delayMs_.load());
    for (std::size_t i = 0; i < polled; ++i) {
      Relay& relay = *relays[i];
      for (int side = 0; side < 2; ++side) {
        const pollfd& fd = fds[2 + 2 * i + side];
        if (!(fd.revents & (POLLIN | POLLHUP | POLLERR))) continue;
        Direction& direction = side == 0 ? relay.up : relay.down;
        const ssize_t n = recv(fd.fd, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) {
          direction.closed = true;
          continue;
        }
        if (side == 0) {
          relay.clientSpoke = true;
        } else if (relay.clientSpoke) {
          relay.clientSpoke = false;
          ++roundTrips_;
        }
        direction.pending.push_back({arrival + delay, std::string(buffer, static_cast<std::size_t>(n))});
      }
    }
  }
}

}  // namespace brontelx::bench
