#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

namespace brontelx::bench {

// A TCP relay on 127.0.0.1 that stands for a slow link: every chunk of bytes read from one end is
// written to the other only after a set one-way delay, so each request and each answer crosses
// the link in that time and a round trip costs twice the delay. It also counts the exchanges:
// each burst the server sends after the client has spoken is one round trip the client waited for.
class LatencyProxy {
 public:
  // Relays connections made to Port() to 127.0.0.1:targetPort.
  explicit LatencyProxy(int targetPort);
  ~LatencyProxy();
  LatencyProxy(const LatencyProxy&) = delete;
  LatencyProxy& operator=(const LatencyProxy&) = delete;

  int Port() const { return port_; }
  void SetDelay(std::chrono::milliseconds oneWay) { delayMs_ = oneWay.count(); }
  // Round trips counted since the last reset, on every connection.
  std::uint64_t RoundTrips() const { return roundTrips_; }
  // Connections accepted since the last reset.
  std::uint64_t Connections() const { return connections_; }
  void ResetCounts() {
    roundTrips_ = 0;
    connections_ = 0;
  }

 private:
  void Run();

  int targetPort_;
  int listener_ = -1;
  int port_ = 0;
  int wake_[2] = {-1, -1};  // a pipe that ends the relay thread
  std::atomic<std::int64_t> delayMs_{0};
  std::atomic<std::uint64_t> roundTrips_{0};
  std::atomic<std::uint64_t> connections_{0};
  std::thread thread_;
};

}  // namespace brontelx::bench
