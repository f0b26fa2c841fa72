#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace brontelx::testing {
namespace {

bool AcceptsConnections(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  const bool connected = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return connected;
}

}  // namespace

std::optional<int> LoopbackPort() {
  const char* text = std::getenv("BRONTELX_FB_PORT");
  if (!text) return std::nullopt;
  const char* end = text + std::strlen(text);
  int port = 0;
  const auto [stop, error] = std::from_chars(text, end, port);
  if (error != std::errc() || stop != end || port <= 0 || port > 65535) return std::nullopt;
  return port;
}

std::string RemoteName(const std::string& path) {
  const std::optional<int> port = LoopbackPort();
  if (!port) throw std::runtime_error("BRONTELX_FB_PORT does not name the loopback server's port");
  return "127.0.0.1/" + std::to_string(*port) + ":" + path;
}

std::string LoopbackServerUnavailable() {
  const std::optional<int> port = LoopbackPort();
  if (!port) {
    return "no loopback Firebird server: BRONTELX_FB_PORT is not set to a port "
           "(scripts/test.sh starts the server and sets it)";
  }
  if (!AcceptsConnections(*port)) {
    return "no loopback Firebird server accepts connections on 127.0.0.1:" + std::to_string(*port) +
           " (BRONTELX_FB_PORT)";
  }
  return {};
}

}  // namespace brontelx::testing
