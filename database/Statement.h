#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FbClient.h"

namespace brontelx::db {

class Connection;
class Transaction;
class Statement;

// The value bound to one named parameter; every marker of that name receives it.
class Param {
 public:
  explicit Param(std::string name) : name_(std::move(name)) {}
  const std::string& Name() const { return name_; }
  void SetString(std::string_view value);
  void SetInt(std::int64_t value);
  void SetNull();
  bool IsNull() const { return kind_ == Kind::Null; }

 private:
  friend class Statement;
  enum class Kind { Null, Text, Integer };
  std::string name_;
  Kind kind_ = Kind::Null;
  std::string text_;
  std::int64_t integer_ = 0;
};

// One column of the current row. NULL reads as "" or 0.
class Field {
 public:
  const std::string& Name() const;
  bool IsNull() const;
  std::string AsString() const;
  std::int64_t AsInt64() const;
  std::int32_t AsInteger() const { return static_cast<std::int32_t>(AsInt64()); }

 private:
  friend class Statement;
  Field(const Statement* statement, unsigned index) : statement_(statement), index_(index) {}
  const Statement* statement_;
  unsigned index_;
};

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
  bool Prepared() const { return handle_ != nullptr; }
  // Frees the prepared statement (and an open cursor); the next execution prepares again.
  void FreeHandle() noexcept;

  Param& ParamByName(std::string_view name);
  std::size_t ParamCount() const { return params_.size(); }

  // Runs the statement; a query opens its cursor and reads the first row.
  void ExecQuery();
  bool Eof() const { return eof_; }
  void Next();
  // Closes the cursor, if one is open.
  void Close();
  void CloseQuietly() noexcept;
  bool Open() const { return cursor_ != nullptr; }

  std::size_t FieldCount() const { return columns_.size(); }
  Field Fields(unsigned index) const;
  Field FieldByName(std::string_view name) const;

  // Preparations made by all statements of the process, for checks that statements are reused.
  static std::uint64_t PrepareCount() { return prepareCount_.load(); }

 private:
  friend class Field;

  struct Column {
    std::string alias;
    unsigned type = 0;  // as in the message we receive
    int subType = 0;
    unsigned charset = 0;  // as declared by the server
    unsigned messageCharset = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
  };
  struct Marker {
    unsigned type = 0;  // as described by the server
    int subType = 0;
    unsigned charset = 0;
    unsigned length = 0;
    int scale = 0;
    std::size_t param = 0;
  };
  struct InputShape {
    unsigned type;
    int subType;
    unsigned charset;
    unsigned length;
    int scale;
    bool operator==(const InputShape&) const = default;
  };

  void Unprepare() noexcept;
  void Rescan();
  Transaction& ActiveTransaction() const;
  void DescribeInputs();
  void DescribeOutputs();
  void BuildInputMessage(Transaction& transaction);
  void RebuildInputMetadata(std::vector<InputShape> shape);
  std::string TextValue(const Column& column) const;
  bool ColumnIsNull(unsigned index) const;
  const Column& ColumnAt(unsigned index) const;

  Connection* database_ = nullptr;
  Transaction* transaction_ = nullptr;
  std::vector<std::string> lines_;
  bool paramCheck_ = true;

  std::string sql_;  // with "?" markers when scanned
  std::vector<Param> params_;
  std::vector<std::size_t> markerParams_;

  Firebird::IStatement* handle_ = nullptr;
  unsigned statementType_ = 0;
  std::vector<Marker> markers_;
  std::vector<InputShape> inputShape_;
  FbRef<Firebird::IMessageMetadata> inputMetadata_;
  std::vector<unsigned char> inputBuffer_;
  std::vector<std::pair<unsigned, unsigned>> inputOffsets_;  // value and null flag of each marker
  std::vector<Column> columns_;
  FbRef<Firebird::IMessageMetadata> outputMetadata_;
  std::vector<unsigned char> outputBuffer_;
  Firebird::IResultSet* cursor_ = nullptr;
  bool eof_ = true;
  bool hasRow_ = false;

  static std::atomic<std::uint64_t> prepareCount_;
};

}  // namespace brontelx::db
