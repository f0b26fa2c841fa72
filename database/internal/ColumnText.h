#pragma once

#include <firebird/Interface.h>

#include <string>
#include <string_view>

namespace brontelx::db {

// Layer internal. What a field asks of its statement to read text: a text column's bytes, and a
// blob, as UTF-8 by the connection's character-set policy.
class ColumnText {
 public:
  virtual std::string DecodeText(std::string_view bytes, unsigned charset) const = 0;
  virtual std::string ReadBlob(ISC_QUAD id, int subType, unsigned charset) const = 0;

 protected:
  ~ColumnText() = default;
};

}  // namespace brontelx::db
