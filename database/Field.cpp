#include "database/Field.h"

#include <charconv>
#include <limits>

#include "database/DatabaseError.h"
#include "database/Row.h"
#include "database/internal/ColumnText.h"
#include "database/internal/MessageData.h"
#include "database/internal/ValueText.h"

namespace brontelx::db {
namespace {

DatabaseError RangeError(const Row::Column& column, const std::string& value, int bits) {
  return DatabaseError("Column \"" + column.alias + "\": value " + value + " does not fit a " + std::to_string(bits) +
                           "-bit integer",
                       isc_arith_except);
}

// A whole number written in text, blanks around it and a leading '+' allowed.
std::int64_t ParseInteger(const std::string& text) {
  std::size_t begin = text.find_first_not_of(' ');
  const std::size_t end = text.find_last_not_of(' ') + 1;
  if (begin != std::string::npos && text[begin] == '+') ++begin;
  std::int64_t value = 0;
  const char* last = text.data() + end;
  const auto [stop, error] =
      begin == std::string::npos ? std::from_chars_result{nullptr, std::errc::invalid_argument}
                                 : std::from_chars(text.data() + begin, last, value);
  if (error != std::errc() || stop != last)
    throw DatabaseError("conversion error from string \"" + text + "\"", isc_convert_error);
  return value;
}

}  // namespace

const std::string& Field::Name() const { return row_->At(index_).alias; }

bool Field::IsNull() const { return row_->IsNull(index_); }

std::string Field::AsString() const {
  if (IsNull()) return {};
  const Row::Column& column = row_->At(index_);
  const unsigned char* data = row_->Data(column);
  switch (column.type) {
    case SQL_TEXT:
    case SQL_VARYING: {
      const auto* chars = reinterpret_cast<const char*>(data);
      const std::string_view bytes = column.type == SQL_VARYING
                                         ? std::string_view(chars + 2, Load<std::uint16_t>(data))
                                         : std::string_view(chars, column.length);
      return text_->DecodeText(bytes, column.messageCharset);
    }
    case SQL_SHORT:
      return value::ScaledText(Load<std::int16_t>(data), column.scale);
    case SQL_LONG:
      return value::ScaledText(Load<std::int32_t>(data), column.scale);
    case SQL_INT64:
      return value::ScaledText(Load<std::int64_t>(data), column.scale);
    case SQL_FLOAT:
      return value::DoubleText(Load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return value::DoubleText(Load<double>(data));
    case SQL_TYPE_DATE:
      return value::DateText(Load<ISC_DATE>(data));
    case SQL_TYPE_TIME:
      return value::TimeText(Load<ISC_TIME>(data));
    case SQL_TIMESTAMP:
      return value::TimestampText(Load<ISC_TIMESTAMP>(data));
    case SQL_BOOLEAN:
      return *data ? "TRUE" : "FALSE";
    case SQL_BLOB:
      return text_->ReadBlob(Load<ISC_QUAD>(data), column.subType, column.charset);
    default:
      throw DatabaseError("Unsupported column type " + std::to_string(column.type) + " of \"" + column.alias + "\"");
  }
}

std::int64_t Field::AsInt64() const {
  if (IsNull()) return 0;
  const Row::Column& column = row_->At(index_);
  const unsigned char* data = row_->Data(column);
  std::optional<std::int64_t> value;
  switch (column.type) {
    case SQL_SHORT:
      value = value::ScaledToInteger(Load<std::int16_t>(data), column.scale);
      break;
    case SQL_LONG:
      value = value::ScaledToInteger(Load<std::int32_t>(data), column.scale);
      break;
    case SQL_INT64:
      value = value::ScaledToInteger(Load<std::int64_t>(data), column.scale);
      break;
    case SQL_FLOAT:
      value = value::DoubleToInteger(Load<float>(data));
      break;
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      value = value::DoubleToInteger(Load<double>(data));
      break;
    default:
      return ParseInteger(AsString());
  }
  if (!value) throw RangeError(column, AsString(), 64);
  return *value;
}

std::int32_t Field::AsInteger() const {
  const std::int64_t value = AsInt64();
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
    throw RangeError(row_->At(index_), AsString(), 32);
  return static_cast<std::int32_t>(value);
}

}  // namespace brontelx::db
