#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include "ToolFixture.h"

namespace brontelx::testing {
namespace {

using namespace std::chrono_literals;

// A listener on 127.0.0.1 that accepts connections and never answers: a database call to it hangs.
class SilentServer {
 public:
  SilentServer() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    for (const int fd : accepted_) close(fd);
    close(listener_);
  }

  int Port() const { return port_; }
  // Waits for a client, at most `bound`, and keeps its connection open without a word.
  bool AcceptOne(std::chrono::seconds bound) {
    pollfd fd{listener_, POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(std::chrono::milliseconds(bound).count())) != 1) return false;
    const int client = accept(listener_, nullptr, nullptr);
    if (client < 0) return false;
    accepted_.push_back(client);
    return true;
  }

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int> accepted_;
};

using InterruptTest = ToolFixture;

TEST_F(InterruptTest, SignalEndsTheToolWhileADatabaseCallHangs) {
  SilentServer server;
  Exec(Archive(), "UPDATE TABX SET TESTO = '127.0.0.1/" + std::to_string(server.Port()) +
                      ":/dati/rux.fdb' WHERE NOME = 'VelZidBolDBRux'");
  struct Case {
    std::vector<std::string> arguments;
    int signal;
  };
  for (const Case& c : {Case{{"validate", "1", "BOL-1001"}, SIGTERM}, Case{{"info", "1"}, SIGINT}}) {
    ChildProcess tool(Tool().string(), c.arguments);
    ASSERT_TRUE(server.AcceptOne(60s)) << "the tool never reached the server";
    tool.Signal(c.signal);
    // Far less than the client's own connect timeout, and far more than the tool needs.
    const std::optional<ChildStatus> status = tool.Wait(10s);
    ASSERT_TRUE(status.has_value()) << "still running after the signal";
    EXPECT_FALSE(status->exited);
    EXPECT_EQ(status->code, c.signal);
    EXPECT_EQ(tool.Errors(), "brontelx: interrupted\n");
    if (c.arguments.front() == "info") {
      // What was known before the hang was printed.
      EXPECT_NE(tool.Output().find("User 1: Mario Rossi, company DEMO SRL\n"), std::string::npos) << tool.Output();
    }
  }
}

}  // namespace
}  // namespace brontelx::testing
