#pragma once

#include <firebird/Interface.h>

#include <cstddef>
#include <string_view>
#include <utility>
#include <vector>

#include "database/FbRef.h"
#include "database/Param.h"

namespace brontelx::db {

class ConnectionCore;

// The input message of a prepared statement: one field for each "?" marker, filled from the named
// parameter bound to it. Its layout follows the bound values (text of any length, integers, NULL),
// and is built again only when that layout changes.
class InputMessage {
 public:
  // Reads the markers the server describes; markerParams[i] is the parameter of marker i.
  void Describe(Firebird::IStatement* statement, const std::vector<std::size_t>& markerParams);
  bool Described() const { return described_; }
  void Clear();

  // Lays the message out from the bound values alone, without the server's description of the
  // markers, and writes them: integers as BIGINT, text as UTF-8 VARCHAR of its length, NULL as a
  // NULL text. The server converts each value to its marker's type as it would a described one.
  // Only text of 7-bit ASCII is laid out so, whose bytes are the same in every character set, so
  // that a marker typed NONE receives what an encoding in the database's set would give; for other
  // text it returns false and leaves the message as it was.
  bool Declare(const std::vector<Param>& params, const std::vector<std::size_t>& markerParams,
               ConnectionCore& connection, Firebird::ITransaction* transaction);

  // Writes the parameters' values. Text for markers with a declared character set travels as
  // UTF-8 and the server converts it; text typed NONE is encoded by the connection's
  // character-set policy; text for blob markers becomes a new blob in the transaction.
  void Fill(const std::vector<Param>& params, ConnectionCore& connection, Firebird::ITransaction* transaction);

  // Null until filled.
  Firebird::IMessageMetadata* Metadata() const { return metadata_.get(); }
  unsigned char* Buffer() { return buffer_.empty() ? nullptr : buffer_.data(); }

 private:
  struct Marker {
    unsigned type = 0;  // as described by the server
    int subType = 0;
    unsigned charset = 0;
    unsigned length = 0;
    int scale = 0;
    std::size_t param = 0;
  };
  struct Shape {
    unsigned type;
    int subType;
    unsigned charset;
    unsigned length;
    int scale;
    bool operator==(const Shape&) const = default;
  };

  void Rebuild(std::vector<Shape> shape);
  // Writes the value of each marker; bytes[i] holds marker i's text as it travels.
  void Write(const std::vector<Param>& params, const std::vector<std::string_view>& bytes,
             ConnectionCore& connection, Firebird::ITransaction* transaction);

  bool described_ = false;
  std::vector<Marker> markers_;
  std::vector<Shape> shape_;
  FbRef<Firebird::IMessageMetadata> metadata_;
  std::vector<unsigned char> buffer_;
  std::vector<std::pair<unsigned, unsigned>> offsets_;  // value and null flag of each marker
};

}  // namespace brontelx::db
