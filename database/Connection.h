#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Charsets.h"
#include "FbHandle.h"

namespace brontelx::db {

class Transaction;
class Statement;

// One attachment to a Firebird database. The parameter list holds "name=value" lines that become
// the attach parameter block (user_name, password, lc_ctype, sql_role_name); the database name is
// the connection string given to the client: a file path (embedded engine) or host:path,
// host/port:path and the other remote forms.
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
  bool Connected() const { return static_cast<bool>(attachment_); }
  // The server the database name addresses; empty for a local file.
  const std::string& Server() const { return server_; }

  // Layer internals.
  Firebird::IAttachment* Attachment() const;
  // The attachment when its calls go to a remote server and are watched by the response deadline.
  Firebird::IAttachment* WatchedAttachment() const { return server_.empty() ? nullptr : attachment_.get(); }
  // A call on the attachment met the response deadline and was cut, so the attachment is dead:
  // remembers and returns the error that every later call raises at once, until Close.
  const std::string& Cut(int seconds);
  void CheckNotCut() const;
  // Text typed NONE, read from and written to this database in its own encoding. 7-bit ASCII
  // text is the same bytes in every encoding and needs none; for other text the database's
  // character set is read once per attachment: in `within` when that is an active transaction of
  // this connection (one exchange with a server, no transaction of its own), otherwise in a short
  // transaction of its own.
  std::string DecodeNone(std::string_view bytes, Transaction* within);
  // Empty when the text holds a character the encoding cannot represent.
  std::optional<std::string> EncodeNone(std::string_view text, Transaction* within);
  // The same for decoding the server's messages, which must not fail: Windows-1252 when the
  // database's character set cannot be read.
  charsets::ByteEncoding MessageEncoding() noexcept;
  // The transactions and statements that use this connection, ended before it closes.
  void AddDependent(Transaction* transaction);
  void RemoveDependent(Transaction* transaction);
  void AddDependent(Statement* statement);
  void RemoveDependent(Statement* statement);

 private:
  void EndDependents();
  const charsets::ByteEncoding& NoneEncoding(Transaction* within);

  std::vector<std::string> params_;
  std::string databaseName_;
  std::string server_;
  std::string cutMessage_;
  FbHandle<Firebird::IAttachment> attachment_;
  std::optional<charsets::ByteEncoding> noneEncoding_;
  bool readingNoneEncoding_ = false;
  std::vector<Transaction*> transactions_;
  std::vector<Statement*> statements_;
};

}  // namespace brontelx::db
