#pragma once

#include <string>

#include "tests/support/TempDir.h"

namespace brontelx::testing {

// A Firebird server of the test's own on 127.0.0.1 (scripts/fbserver.sh in a temporary folder), for
// tests that stop a server or need one that refuses the library's credentials. Stopped at the end.
class PrivateServer {
 public:
  // A server whose SYSDBA has `password`; the library always sends "quillbank".
  explicit PrivateServer(const std::string& password = "quillbank");
  ~PrivateServer();
  PrivateServer(const PrivateServer&) = delete;
  PrivateServer& operator=(const PrivateServer&) = delete;

  int Port() const { return port_; }
  // The connection string of a database file on this server.
  std::string Location(const std::string& path) const;
  void Stop();

 private:
  TempDir root_;
  int port_ = 0;
  bool running_ = false;
};

}  // namespace brontelx::testing
