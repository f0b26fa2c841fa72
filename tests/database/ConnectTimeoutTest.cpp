#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "DRKDBUtility.h"
#include "DatabaseError.h"

namespace brontelx {
namespace {

// A TCP port on 127.0.0.1 whose connections the kernel accepts (into the listen backlog) and that
// never answers a word.
class SilentListener {
 public:
  SilentListener() : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd_, 8) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
  }
  ~SilentListener() { close(fd_); }
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  int Port() const { return port_; }

 private:
  int fd_;
  int port_ = 0;
};

TEST(ConnectTimeoutTest, AServerThatNeverAnswersFailsTheOpen) {
  const SilentListener listener;
  const std::string location = "127.0.0.1/" + std::to_string(listener.Port()) + ":/srv/dati/archivio.fdb";
  db::Connection connection;
  const auto start = std::chrono::steady_clock::now();
  try {
    OpenIBDatabase(connection, location);
    FAIL() << "opened";
  } catch (const db::DatabaseError& e) {
    EXPECT_EQ(std::string(e.what()), "connection rejected by remote interface");
  }
  const auto waited = std::chrono::steady_clock::now() - start;
  // The client's own default is 180 seconds.
  EXPECT_LT(waited, std::chrono::seconds(60));
  EXPECT_FALSE(connection.Connected());
}

}  // namespace
}  // namespace brontelx
