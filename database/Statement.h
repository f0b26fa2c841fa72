#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "database/FbHandle.h"
#include "database/Field.h"
#include "database/Param.h"
#include "database/Row.h"
#include "database/internal/ColumnText.h"
#include "database/internal/InputMessage.h"

namespace brontelx::db {

class Connection;
class ConnectionCore;
class Transaction;
template <typename Owner>
class Tie;

// An SQL statement on a connection, run in a transaction: made from both and tied to them. The
// transaction closes its cursor before it ends; the connection frees it when it closes, and once
// either is gone Database() or GetTransaction() is null and running it fails. The SQL is given as
// lines joined by line breaks. With parameter scanning on, ":NAME" parameters are bound by name.
// The statement is prepared once, on its first execution, and reused in later transactions until
// its SQL changes or the connection closes.
class Statement final : private ColumnText {
 public:
  Statement(Connection* database, Transaction* transaction);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Connection* Database() const;
  Transaction* GetTransaction() const;

  void SetSQL(std::vector<std::string> lines);
  const std::vector<std::string>& SQL() const { return lines_; }
  void SetParamCheck(bool scan);
  bool ParamCheck() const { return paramCheck_; }

  void Prepare();
  bool Prepared() const { return static_cast<bool>(handle_); }
  // Frees the prepared statement, closing its cursor first; the next execution prepares again.
  void Unprepare() noexcept;

  Param& ParamByName(std::string_view name);
  std::size_t ParamCount() const { return params_.size(); }

  // Runs the statement: a query opens its cursor and reads the first row; a statement with
  // output (EXECUTE PROCEDURE, INSERT ... RETURNING) makes that output the current row.
  void ExecQuery();
  // Runs a query that yields one row of one integer column, such as a COUNT, and makes that row
  // the current one (FieldAt(0)). When the statement is not prepared and its SQL and every bound
  // value (integers, NULL, 7-bit ASCII text) are the same bytes in every character set,
  // IAttachment::execute prepares it, runs it and returns the row in one exchange with a server:
  // the message layouts are declared here, the server converts each value to its marker's type,
  // and nothing is kept for a later run. Otherwise it runs as ExecQuery.
  void ExecCount();
  bool Eof() const { return eof_; }
  void Next();
  // Closes the cursor, if one is open.
  void Close();
  void CloseQuietly() noexcept;
  bool Open() const { return static_cast<bool>(cursor_); }

  std::size_t FieldCount() const { return output_.Count(); }
  Field FieldAt(unsigned index) const;
  Field FieldByName(std::string_view name) const;
  // The current row, as fields read it.
  const Row& Output() const { return output_; }

  // Preparations made by all statements of the process, for checks that statements are reused.
  static std::uint64_t PrepareCount() { return prepareCount_.load(); }

 private:
  void Rescan();
  Transaction& ActiveTransaction() const;
  // The connection's internals; raises when the connection is gone.
  ConnectionCore& Core() const;
  // The handle of the statement's transaction while it is active, else null.
  Firebird::ITransaction* ActiveHandle() const;
  std::string DecodeText(std::string_view bytes, unsigned charset) const override;
  std::string ReadBlob(ISC_QUAD id, int subType, unsigned charset) const override;

  std::unique_ptr<Tie<ConnectionCore>> database_;
  std::unique_ptr<Tie<Transaction>> transaction_;
  std::vector<std::string> lines_;
  bool paramCheck_ = true;

  std::string sql_;  // with "?" markers when scanned
  std::vector<Param> params_;
  std::vector<std::size_t> markerParams_;

  FbHandle<Firebird::IStatement> handle_;
  unsigned statementType_ = 0;
  InputMessage input_;
  Row output_;
  FbHandle<Firebird::IResultSet> cursor_;
  bool eof_ = true;

  static std::atomic<std::uint64_t> prepareCount_;
};

}  // namespace brontelx::db
