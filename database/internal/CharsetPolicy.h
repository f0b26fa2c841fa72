#pragma once

#include <firebird/Interface.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "database/Charsets.h"

namespace brontelx::db {

class Wire;

// Layer internal. How the text of one attachment crosses to and from its database, made when the
// connection opens. Text in a declared character set travels as UTF-8 and the server converts it;
// OCTETS passes as it is; text typed NONE (and the SQL text, which travels without a character
// set) is in the database's own encoding. 7-bit ASCII is the same bytes in every encoding and
// needs none; for other text the database's character set is read once: in `within` when given
// (an active transaction of this attachment: one exchange with a server, no transaction of its
// own), otherwise in a short transaction of its own. Once read, the server's messages on this
// attachment are decoded in it too.
class CharsetPolicy {
 public:
  // Both belong to the connection and outlive the policy.
  CharsetPolicy(Firebird::IAttachment* attachment, Wire& wire) : attachment_(attachment), wire_(wire) {}

  std::string EncodeSql(const std::string& sql, Firebird::ITransaction* within);
  // The bytes of a parameter's text for a marker of `charset`.
  std::string EncodeParam(std::string_view text, unsigned charset, Firebird::ITransaction* within);
  // A text column's bytes, as they arrived in `charset`, as UTF-8.
  std::string DecodeColumn(std::string_view bytes, unsigned charset, Firebird::ITransaction* within);

  // The blob parameter block to read a blob of `subType` and `charset` with.
  std::vector<unsigned char> ReadBlobParams(int subType, unsigned charset) const;
  std::string DecodeBlob(std::string_view bytes, int subType, unsigned charset, Firebird::ITransaction* within);
  // A blob value as it is written: its bytes and the blob parameter block to create it with.
  struct BlobValue {
    std::string bytes;
    std::vector<unsigned char> params;
  };
  BlobValue EncodeBlob(std::string_view utf8, int subType, unsigned charset, Firebird::ITransaction* within);

 private:
  const charsets::ByteEncoding& NoneEncoding(Firebird::ITransaction* within);
  std::string EncodeNone(std::string_view text, Firebird::ITransaction* within);

  Firebird::IAttachment* attachment_;
  Wire& wire_;
  std::optional<charsets::ByteEncoding> noneEncoding_;
};

}  // namespace brontelx::db
