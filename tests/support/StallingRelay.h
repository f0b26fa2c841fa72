#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace brontelx::testing {

// A TCP relay on 127.0.0.1 in front of a server on 127.0.0.1: it forwards both ways until it is
// told to go silent, then forwards nothing more on any connection, and holds them open without a
// word, as a server that stopped answering or a network that drops packets does.
class StallingRelay {
 public:
  // `answersBeforeSilence`: each new connection goes silent by itself after forwarding that many
  // reads from the server (-1: never).
  explicit StallingRelay(int upstreamPort, int answersBeforeSilence = -1);
  ~StallingRelay();
  StallingRelay(const StallingRelay&) = delete;
  StallingRelay& operator=(const StallingRelay&) = delete;

  int Port() const { return port_; }
  // Every connection open now goes silent; later ones still follow answersBeforeSilence.
  void Silence();
  // New connections forward everything again.
  void Answer();

 private:
  struct Link {
    int client;
    int server;
    int answers;
    bool silent;
  };
  void Run();

  int upstreamPort_;
  std::atomic<int> answersBeforeSilence_;
  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};
  std::mutex mutex_;
  std::vector<Link> links_;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace brontelx::testing
