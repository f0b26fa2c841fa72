#pragma once

#include <cstdint>
#include <string>

namespace brontelx::db {

class ColumnText;
class Row;
class Statement;

// One column of a statement's current row. NULL reads as "" or 0.
class Field {
 public:
  const std::string& Name() const;
  bool IsNull() const;
  // Text as stored (CHAR keeps its padding); numbers, dates and times as value::*Text writes them;
  // BOOLEAN as TRUE or FALSE; blobs whole.
  std::string AsString() const;
  // Exact numerics with decimals and floating-point values are rounded half away from zero; text
  // must hold a whole number. A value beyond the width raises DatabaseError naming the column and
  // the value.
  std::int64_t AsInt64() const;
  std::int32_t AsInteger() const;

 private:
  // Made by the statement whose row it reads, and which reads its text.
  friend class Statement;
  Field(const Row* row, const ColumnText* text, unsigned index) : row_(row), text_(text), index_(index) {}

  const Row* row_;
  const ColumnText* text_;
  unsigned index_;
};

}  // namespace brontelx::db
