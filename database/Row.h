#pragma once

#include <firebird/Interface.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/FbRef.h"

namespace brontelx::db {

// The output message of a prepared statement: its columns, and the buffer each fetched row is
// read into. Text columns with a declared character set are asked for as UTF-8, which the server
// converts to.
class Row {
 public:
  struct Column {
    std::string alias;  // the column's alias, or its name when it has none
    unsigned type = 0;  // as in the message we receive
    int subType = 0;
    unsigned charset = 0;  // as declared by the server
    unsigned messageCharset = 0;
    int scale = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
  };

  // Reads the columns the server describes; none for a statement without output.
  void Describe(Firebird::IStatement* statement);
  // One BIGINT column without a name, laid out by the client for a statement run without a
  // description; the server converts the value it yields to it.
  void DeclareInteger();
  void Clear();

  std::size_t Count() const { return columns_.size(); }
  // Raises DatabaseError for an index out of range.
  const Column& At(unsigned index) const;
  // The first column whose alias matches, ignoring ASCII letter case.
  std::optional<unsigned> Find(std::string_view alias) const;

  Firebird::IMessageMetadata* Metadata() const { return metadata_.get(); }
  // Where a row is fetched to: null when there are no columns.
  unsigned char* Buffer() { return buffer_.empty() ? nullptr : buffer_.data(); }
  // Whether the buffer holds a row: after a fetch that found one, or an execution that returned one.
  void SetFilled(bool filled) { filled_ = filled; }
  bool Filled() const { return filled_; }

  // True for a NULL value, and for every column while no row is there.
  bool IsNull(unsigned index) const;
  const unsigned char* Data(const Column& column) const { return buffer_.data() + column.offset; }

 private:
  std::vector<Column> columns_;
  FbRef<Firebird::IMessageMetadata> metadata_;
  std::vector<unsigned char> buffer_;
  bool filled_ = false;
};

}  // namespace brontelx::db
