#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Charsets.h"

namespace Firebird {
class IAttachment;
}

namespace brontelx::db {

class Transaction;
class Statement;

// One attachment to a Firebird database. The parameter list holds "name=value" lines that become
// the attach parameter block; the database name is the connection string given to the client.
class Connection {
 public:
  Connection();
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  std::vector<std::string>& Params() { return params_; }
  const std::vector<std::string>& Params() const { return params_; }
  const std::string& DatabaseName() const { return databaseName_; }
  void SetDatabaseName(std::string name) { databaseName_ = std::move(name); }
  // No credential dialog exists here; the flag is kept for callers that switch it off.
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool prompt) { loginPrompt_ = prompt; }

  // Attaches with the database name and the parameter list. Fails with the client's error.
  void Open();
  // Ends what still depends on the attachment (cursors, prepared statements, active
  // transactions, which commit), then detaches. The connection is closed afterwards even when the
  // detach reports an error, which is then raised.
  void Close();
  bool Connected() const { return attachment_ != nullptr; }

  // Layer internals.
  Firebird::IAttachment* Attachment() const;
  // How values typed NONE are encoded in this database; read once per attachment, when needed.
  const charsets::ByteEncoding& NoneEncoding();
  void Attach(Transaction* transaction);
  void Detach(Transaction* transaction);
  void Attach(Statement* statement);
  void Detach(Statement* statement);

 private:
  std::vector<unsigned char> BuildDpb() const;
  void ReleaseDependents();

  std::vector<std::string> params_;
  std::string databaseName_;
  bool loginPrompt_ = true;
  Firebird::IAttachment* attachment_ = nullptr;
  std::optional<charsets::ByteEncoding> noneEncoding_;
  std::vector<Transaction*> transactions_;
  std::vector<Statement*> statements_;
};

}  // namespace brontelx::db
