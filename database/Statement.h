#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FbHandle.h"
#include "Field.h"
#include "InputMessage.h"
#include "Param.h"
#include "Row.h"

namespace brontelx::db {

class Connection;
class Transaction;

// An SQL statement on a connection, run in a transaction. The SQL is given as lines joined by
// line breaks. With parameter scanning on, ":NAME" parameters are bound by name. The statement is
// prepared once, on its first execution, and reused in later transactions on the same connection
// until its SQL changes or the connection closes.
class Statement {
 public:
  Statement(Connection* database = nullptr, Transaction* transaction = nullptr);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Connection* Database() const { return database_; }
  void SetDatabase(Connection* database);
  Transaction* GetTransaction() const { return transaction_; }
  void SetTransaction(Transaction* transaction);

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

  Connection* database_ = nullptr;
  Transaction* transaction_ = nullptr;
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
