#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brontelx::db {

class ConnectionCore;

// One attachment to a Firebird database. The parameter list holds "name=value" lines that become
// the attach parameter block (user_name, password, lc_ctype, sql_role_name); the database name is
// the connection string given to the client: a file path (embedded engine) or host:path,
// host/port:path and the other remote forms. Transactions and statements are made from a
// connection and stay tied to it: it ends them when it closes, and once it is gone they say so.
class Connection {
 public:
  // How long an attach waits for a remote server to answer, unless BRONTELX_CONNECT_TIMEOUT says
  // otherwise: instead of the client's 180 seconds, so that a location naming an unreachable server
  // fails a window's call in reasonable time.
  static constexpr int kConnectTimeoutSeconds = 15;
  // The wait of the next attach: BRONTELX_CONNECT_TIMEOUT when it holds whole seconds from 1 to
  // 180 (the tests of servers that never answer use 1; a site whose servers answer slowly may need
  // more), else kConnectTimeoutSeconds. Read at every attach.
  static int ConnectTimeoutSeconds();

  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  std::vector<std::string>& Params() { return params_; }
  const std::vector<std::string>& Params() const { return params_; }
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name) { databaseName_ = std::move(name); }

  // Attaches with the database name (UTF-8) and the parameter list. Fails with the client's error.
  void Open();
  // Ends what still depends on the attachment (cursors, prepared statements, active
  // transactions, which commit), then detaches. The connection is closed afterwards even when the
  // detach reports an error, which is then raised.
  void Close();
  // Creates the database the name addresses, with `defaultCharset` as its default character set,
  // and stays attached to it. Fails, like Open, with the client's error.
  void Create(const std::string& defaultCharset);
  // Ends what depends on the attachment, as Close does, then deletes the database. The
  // connection is closed afterwards even when that fails.
  void Drop();
  bool Connected() const;
  // The server the database name addresses; empty for a local file.
  const std::string& Server() const;

 private:
  // What the transactions and statements made from it use (ConnectionCore.h).
  friend class Transaction;
  friend class Statement;
  ConnectionCore& Core() const { return *core_; }

  // Attaches, or creates the database with its default character set.
  void Attach(const std::optional<std::string>& createWithCharset);

  std::vector<std::string> params_;
  std::string databaseName_;
  std::unique_ptr<ConnectionCore> core_;
};

}  // namespace brontelx::db
