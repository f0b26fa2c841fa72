#pragma once

#include <chrono>
#include <vector>

namespace brontelx::testing {

// A listener on 127.0.0.1 whose connections are accepted and never answered a word: a database
// call to it hangs until the client gives up.
class SilentServer {
 public:
  SilentServer();
  ~SilentServer();
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  int Port() const { return port_; }
  // Waits for a client, at most `bound`, and keeps its connection open. Clients that are not taken
  // this way wait in the listen backlog, which to them looks the same.
  bool AcceptOne(std::chrono::seconds bound);
  // Takes every client waiting in the listen backlog now (also those that gave up meanwhile) and
  // says how many there were: the connections that clients opened since the last take.
  int TakeWaiting();

 private:
  int listener_ = -1;
  int port_ = 0;
  std::vector<int> accepted_;
};

}  // namespace brontelx::testing
