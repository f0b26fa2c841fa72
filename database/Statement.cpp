#include "Statement.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

#include "Ascii.h"
#include "Charsets.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "ParamScanner.h"
#include "TextBlob.h"
#include "TextCodec.h"
#include "Transaction.h"

namespace brontelx::db {

std::atomic<std::uint64_t> Statement::prepareCount_{0};

namespace {

constexpr unsigned kDialect = 3;
constexpr unsigned kMaxVarchar = 32765;

unsigned BaseType(unsigned type) { return type & ~1u; }

bool IsText(unsigned type) { return type == SQL_TEXT || type == SQL_VARYING; }

std::string FormatDate(ISC_DATE date) {
  unsigned year = 0, month = 0, day = 0;
  Util()->decodeDate(date, &year, &month, &day);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", year, month, day);
  return buffer;
}

std::string FormatTime(ISC_TIME time) {
  unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
  Util()->decodeTime(time, &hours, &minutes, &seconds, &fractions);
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u.%04u", hours, minutes, seconds, fractions);
  return buffer;
}

DatabaseError TruncationError() {
  return DatabaseError("arithmetic exception, numeric overflow, or string truncation\n-string right truncation",
                       isc_arith_except);
}

DatabaseError ConversionError(const std::string& text) {
  return DatabaseError("conversion error from string \"" + text + "\"", isc_convert_error);
}

std::string ScaledToString(std::int64_t value, int scale) {
  std::string digits = std::to_string(value < 0 ? -static_cast<unsigned long long>(value)
                                                  : static_cast<unsigned long long>(value));
  if (scale < 0) {
    const auto places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ".");
  } else {
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  return value < 0 ? "-" + digits : digits;
}

template <typename T>
T Load(const unsigned char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void Store(unsigned char* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

}  // namespace

// ---- Param ----

void Param::SetString(std::string_view value) {
  kind_ = Kind::Text;
  text_.assign(value);
}

void Param::SetInt(std::int64_t value) {
  kind_ = Kind::Integer;
  integer_ = value;
}

void Param::SetNull() {
  kind_ = Kind::Null;
  text_.clear();
}

// ---- Field ----

const std::string& Field::Name() const { return statement_->ColumnAt(index_).alias; }

bool Field::IsNull() const { return statement_->ColumnIsNull(index_); }

std::string Field::AsString() const {
  if (IsNull()) return {};
  return statement_->TextValue(statement_->ColumnAt(index_));
}

std::int64_t Field::AsInt64() const {
  if (IsNull()) return 0;
  const Statement::Column& column = statement_->ColumnAt(index_);
  const unsigned char* data = statement_->outputBuffer_.data() + column.offset;
  auto unscale = [&](std::int64_t value) {
    for (int s = column.scale; s < 0; ++s) value /= 10;
    return value;
  };
  switch (column.type) {
    case SQL_SHORT:
      return unscale(Load<std::int16_t>(data));
    case SQL_LONG:
      return unscale(Load<std::int32_t>(data));
    case SQL_INT64:
      return unscale(Load<std::int64_t>(data));
    case SQL_FLOAT:
      return static_cast<std::int64_t>(Load<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      return static_cast<std::int64_t>(Load<double>(data));
    default:
      break;
  }
  const std::string text = AsString();
  std::size_t begin = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  std::int64_t value = 0;
  if (begin == std::string::npos) throw ConversionError(text);
  if (text[begin] == '+') ++begin;
  const auto [ptr, ec] = std::from_chars(text.data() + begin, text.data() + end + 1, value);
  if (ec != std::errc() || ptr != text.data() + end + 1) throw ConversionError(text);
  return value;
}

// ---- Statement ----

Statement::Statement(Connection* database, Transaction* transaction) {
  SetDatabase(database);
  SetTransaction(transaction);
}

Statement::~Statement() {
  FreeHandle();
  SetTransaction(nullptr);
  SetDatabase(nullptr);
}

void Statement::SetDatabase(Connection* database) {
  if (database == database_) return;
  FreeHandle();
  if (database_) database_->Detach(this);
  database_ = database;
  if (database_) database_->Attach(this);
}

void Statement::SetTransaction(Transaction* transaction) {
  if (transaction == transaction_) return;
  CloseQuietly();
  if (transaction_) transaction_->Detach(this);
  transaction_ = transaction;
  if (transaction_) transaction_->Attach(this);
}

void Statement::SetSQL(std::vector<std::string> lines) {
  FreeHandle();
  lines_ = std::move(lines);
  Rescan();
}

void Statement::SetParamCheck(bool scan) {
  if (scan == paramCheck_) return;
  FreeHandle();
  paramCheck_ = scan;
  Rescan();
}

void Statement::Rescan() {
  std::string joined;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (i) joined += '\n';
    joined += lines_[i];
  }
  params_.clear();
  markerParams_.clear();
  if (!paramCheck_) {
    sql_ = std::move(joined);
    return;
  }
  ScannedSql scanned = ScanParams(joined);
  sql_ = std::move(scanned.sql);
  for (const std::string& name : scanned.markerNames) {
    auto it = std::find_if(params_.begin(), params_.end(),
                           [&](const Param& p) { return ascii::EqualsIgnoringCase(p.Name(), name); });
    if (it == params_.end()) {
      params_.emplace_back(name);
      it = params_.end() - 1;
    }
    markerParams_.push_back(static_cast<std::size_t>(it - params_.begin()));
  }
}

Param& Statement::ParamByName(std::string_view name) {
  for (Param& param : params_) {
    if (ascii::EqualsIgnoringCase(param.Name(), name)) return param;
  }
  throw DatabaseError("Parameter \"" + std::string(name) + "\" not found");
}

Transaction& Statement::ActiveTransaction() const {
  if (!database_) throw DatabaseError("Statement has no database");
  if (!transaction_) throw DatabaseError("Statement has no transaction");
  if (transaction_->DefaultDatabase() != database_)
    throw DatabaseError("The statement's transaction belongs to another database");
  transaction_->Handle();  // raises when not active
  return *transaction_;
}

void Statement::Prepare() {
  if (handle_) return;
  Transaction& transaction = ActiveTransaction();
  if (sql_.empty()) throw DatabaseError("Empty SQL statement");
  // The text travels without a character set, so its literals are read like any value typed NONE.
  std::string encoded;
  const std::string* text = &sql_;
  if (std::any_of(sql_.begin(), sql_.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
    auto bytes = database_->NoneEncoding().Encode(sql_);
    if (!bytes) throw DatabaseError(charsets::kTransliterationMessage, isc_arith_except);
    encoded = std::move(*bytes);
    text = &encoded;
  }
  Status status;
  Firebird::IStatement* handle =
      database_->Attachment()->prepare(status.Get(), transaction.Handle(), static_cast<unsigned>(text->size()),
                                       text->c_str(), kDialect, Firebird::IStatement::PREPARE_PREFETCH_METADATA);
  status.Check();
  handle_ = handle;
  ++prepareCount_;
  try {
    statementType_ = handle_->getType(status.Get());
    status.Check();
    DescribeInputs();
    DescribeOutputs();
  } catch (...) {
    Unprepare();
    throw;
  }
}

void Statement::DescribeInputs() {
  Status status;
  FbRef<Firebird::IMessageMetadata> metadata(handle_->getInputMetadata(status.Get()));
  status.Check();
  const unsigned count = metadata->getCount(status.Get());
  status.Check();
  if (count != markerParams_.size())
    throw DatabaseError("The statement has " + std::to_string(count) + " parameter markers but " +
                        std::to_string(markerParams_.size()) + " named parameters");
  markers_.clear();
  for (unsigned i = 0; i < count; ++i) {
    Marker marker;
    marker.type = BaseType(metadata->getType(status.Get(), i));
    marker.subType = metadata->getSubType(status.Get(), i);
    marker.charset = metadata->getCharSet(status.Get(), i);
    marker.length = metadata->getLength(status.Get(), i);
    marker.scale = metadata->getScale(status.Get(), i);
    status.Check();
    marker.param = markerParams_[i];
    markers_.push_back(marker);
  }
  inputShape_.clear();
  inputMetadata_.reset();
}

void Statement::DescribeOutputs() {
  Status status;
  FbRef<Firebird::IMessageMetadata> metadata(handle_->getOutputMetadata(status.Get()));
  status.Check();
  const unsigned count = metadata->getCount(status.Get());
  status.Check();
  columns_.clear();
  outputMetadata_.reset();
  outputBuffer_.clear();
  if (count == 0) return;
  FbRef<Firebird::IMetadataBuilder> builder(metadata->getBuilder(status.Get()));
  status.Check();
  for (unsigned i = 0; i < count; ++i) {
    Column column;
    column.alias = metadata->getAlias(status.Get(), i);
    if (column.alias.empty()) column.alias = metadata->getField(status.Get(), i);
    column.type = BaseType(metadata->getType(status.Get(), i));
    column.subType = metadata->getSubType(status.Get(), i);
    column.charset = metadata->getCharSet(status.Get(), i);
    column.scale = metadata->getScale(status.Get(), i);
    const unsigned length = metadata->getLength(status.Get(), i);
    status.Check();
    column.messageCharset = column.charset;
    if (IsText(column.type) && charsets::IsDeclared(column.charset)) {
      // Let the server convert declared character sets to UTF-8.
      const unsigned chars = length / charsets::MaxBytesPerChar(column.charset);
      builder->setType(status.Get(), i, SQL_VARYING);
      builder->setCharSet(status.Get(), i, charsets::kUtf8);
      builder->setLength(status.Get(), i, std::min(kMaxVarchar, chars * 4));
      column.type = SQL_VARYING;
      column.messageCharset = charsets::kUtf8;
    }
    status.Check();
    columns_.push_back(std::move(column));
  }
  outputMetadata_.reset(builder->getMetadata(status.Get()));
  status.Check();
  outputBuffer_.assign(outputMetadata_->getMessageLength(status.Get()), 0);
  status.Check();
  for (unsigned i = 0; i < count; ++i) {
    columns_[i].offset = outputMetadata_->getOffset(status.Get(), i);
    columns_[i].nullOffset = outputMetadata_->getNullOffset(status.Get(), i);
    columns_[i].length = outputMetadata_->getLength(status.Get(), i);
    status.Check();
  }
}

void Statement::BuildInputMessage(Transaction& transaction) {
  // The message shape follows the bound values; it is rebuilt only when that shape changes.
  std::vector<InputShape> shape;
  shape.reserve(markers_.size());
  std::vector<std::string_view> bytes(markers_.size());
  std::vector<std::string> encoded(markers_.size());
  for (std::size_t i = 0; i < markers_.size(); ++i) {
    const Marker& marker = markers_[i];
    const Param& param = params_[marker.param];
    if (param.kind_ == Param::Kind::Null) {
      shape.push_back({marker.type, marker.subType, marker.charset, marker.length, marker.scale});
      continue;
    }
    if (param.kind_ == Param::Kind::Integer) {
      shape.push_back({SQL_INT64, 0, 0, sizeof(std::int64_t), 0});
      continue;
    }
    if (marker.type == SQL_BLOB) {
      shape.push_back({SQL_BLOB, marker.subType, marker.charset, sizeof(ISC_QUAD), 0});
      continue;
    }
    // Declared character sets (and values for non-text markers, which the server converts)
    // travel as UTF-8; NONE is encoded here; OCTETS passes as it is.
    unsigned charset = charsets::kUtf8;
    unsigned capacity = IsText(marker.type) ? marker.length / charsets::MaxBytesPerChar(marker.charset) * 4 : 0;
    bytes[i] = param.text_;
    if (IsText(marker.type) && !charsets::IsDeclared(marker.charset)) {
      charset = marker.charset;
      capacity = marker.length;
      if (charset == charsets::kNone) {
        auto text = database_->NoneEncoding().Encode(param.text_);
        if (!text) throw DatabaseError(charsets::kTransliterationMessage, isc_arith_except);
        encoded[i] = std::move(*text);
        bytes[i] = encoded[i];
      }
    }
    // Room for the whole value, so that the server, not the message, reports a value too long.
    if (bytes[i].size() > kMaxVarchar) throw TruncationError();
    const auto size = static_cast<unsigned>(bytes[i].size());
    shape.push_back({SQL_VARYING, 0, charset, std::min(kMaxVarchar, std::max({capacity, size, 1u})), 0});
  }
  if (!inputMetadata_ || shape != inputShape_) RebuildInputMetadata(std::move(shape));

  for (unsigned i = 0; i < markers_.size(); ++i) {
    const Param& param = params_[markers_[i].param];
    unsigned char* data = inputBuffer_.data() + inputOffsets_[i].first;
    Store<std::int16_t>(inputBuffer_.data() + inputOffsets_[i].second, param.kind_ == Param::Kind::Null ? -1 : 0);
    if (param.kind_ == Param::Kind::Null) continue;
    if (param.kind_ == Param::Kind::Integer) {
      Store<std::int64_t>(data, param.integer_);
    } else if (inputShape_[i].type == SQL_BLOB) {
      Store<ISC_QUAD>(data, WriteBlob(*database_, transaction, param.text_, markers_[i].subType,
                                      markers_[i].charset));
    } else {
      Store<std::uint16_t>(data, static_cast<std::uint16_t>(bytes[i].size()));
      std::memcpy(data + sizeof(std::uint16_t), bytes[i].data(), bytes[i].size());
    }
  }
}

void Statement::RebuildInputMetadata(std::vector<InputShape> shape) {
  Status status;
  FbRef<Firebird::IMetadataBuilder> builder(
      Master()->getMetadataBuilder(status.Get(), static_cast<unsigned>(shape.size())));
  status.Check();
  for (unsigned i = 0; i < shape.size(); ++i) {
    builder->setType(status.Get(), i, shape[i].type | 1);  // | 1: nullable
    builder->setSubType(status.Get(), i, shape[i].subType);
    builder->setLength(status.Get(), i, shape[i].length);
    builder->setCharSet(status.Get(), i, shape[i].charset);
    builder->setScale(status.Get(), i, shape[i].scale);
    status.Check();
  }
  inputMetadata_.reset(builder->getMetadata(status.Get()));
  status.Check();
  inputBuffer_.assign(inputMetadata_->getMessageLength(status.Get()), 0);
  inputOffsets_.resize(shape.size());
  for (unsigned i = 0; i < shape.size(); ++i) {
    inputOffsets_[i] = {inputMetadata_->getOffset(status.Get(), i), inputMetadata_->getNullOffset(status.Get(), i)};
  }
  status.Check();
  inputShape_ = std::move(shape);
}

void Statement::ExecQuery() {
  Transaction& transaction = ActiveTransaction();
  CloseQuietly();
  Prepare();
  BuildInputMessage(transaction);
  Status status;
  eof_ = true;
  hasRow_ = false;
  if (statementType_ == isc_info_sql_stmt_select || statementType_ == isc_info_sql_stmt_select_for_upd) {
    Firebird::IResultSet* cursor = handle_->openCursor(status.Get(), transaction.Handle(), inputMetadata_.get(),
                                                       inputBuffer_.data(), outputMetadata_.get(), 0);
    status.Check();
    cursor_ = cursor;
    Next();
  } else {
    handle_->execute(status.Get(), transaction.Handle(), inputMetadata_.get(), inputBuffer_.data(),
                     outputMetadata_.get(), outputBuffer_.empty() ? nullptr : outputBuffer_.data());
    status.Check();
    hasRow_ = !columns_.empty();
    eof_ = !hasRow_;
  }
}

void Statement::Next() {
  if (!cursor_) {
    eof_ = true;
    hasRow_ = false;
    return;
  }
  Status status;
  const int result = cursor_->fetchNext(status.Get(), outputBuffer_.data());
  status.Check();
  hasRow_ = result == Firebird::IStatus::RESULT_OK;
  eof_ = !hasRow_;
}

void Statement::Close() {
  hasRow_ = false;
  eof_ = true;
  if (!cursor_) return;
  Firebird::IResultSet* cursor = cursor_;
  cursor_ = nullptr;
  Status status;
  cursor->close(status.Get());
  if (status.Failed()) {
    cursor->release();
    status.Check();
  }
}

void Statement::CloseQuietly() noexcept {
  try {
    Close();
  } catch (...) {
    // The cursor is released either way; its error no longer matters to anyone.
  }
}

void Statement::Unprepare() noexcept {
  if (handle_) {
    Status status;
    handle_->free(status.Get());
    if (status.Failed()) handle_->release();
    handle_ = nullptr;
  }
  markers_.clear();
  columns_.clear();
  inputShape_.clear();
  inputMetadata_.reset();
  outputMetadata_.reset();
  outputBuffer_.clear();
}

void Statement::FreeHandle() noexcept {
  CloseQuietly();
  Unprepare();
}

const Statement::Column& Statement::ColumnAt(unsigned index) const {
  if (index >= columns_.size()) throw DatabaseError("Field index " + std::to_string(index) + " out of range");
  return columns_[index];
}

Field Statement::Fields(unsigned index) const {
  ColumnAt(index);
  return Field(this, index);
}

Field Statement::FieldByName(std::string_view name) const {
  for (unsigned i = 0; i < columns_.size(); ++i) {
    if (ascii::EqualsIgnoringCase(columns_[i].alias, name)) return Field(this, i);
  }
  throw DatabaseError("Field \"" + std::string(name) + "\" not found");
}

bool Statement::ColumnIsNull(unsigned index) const {
  const Column& column = ColumnAt(index);
  return !hasRow_ || Load<std::int16_t>(outputBuffer_.data() + column.nullOffset) != 0;
}

std::string Statement::TextValue(const Column& column) const {
  const unsigned char* data = outputBuffer_.data() + column.offset;
  switch (column.type) {
    case SQL_TEXT:
    case SQL_VARYING: {
      std::string_view bytes;
      if (column.type == SQL_VARYING) {
        bytes = std::string_view(reinterpret_cast<const char*>(data) + 2, Load<std::uint16_t>(data));
      } else {
        bytes = std::string_view(reinterpret_cast<const char*>(data), column.length);
      }
      if (column.messageCharset == charsets::kOctets) return std::string(bytes);
      if (column.messageCharset == charsets::kNone)
        return database_->NoneEncoding().Decode(bytes);
      return text::SanitizeUtf8(bytes);
    }
    case SQL_SHORT:
      return ScaledToString(Load<std::int16_t>(data), column.scale);
    case SQL_LONG:
      return ScaledToString(Load<std::int32_t>(data), column.scale);
    case SQL_INT64:
      return ScaledToString(Load<std::int64_t>(data), column.scale);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
      const double value = column.type == SQL_FLOAT ? Load<float>(data) : Load<double>(data);
      char buffer[32];
      const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
      return std::string(buffer, result.ptr);
    }
    case SQL_TYPE_DATE:
      return FormatDate(Load<ISC_DATE>(data));
    case SQL_TYPE_TIME:
      return FormatTime(Load<ISC_TIME>(data));
    case SQL_TIMESTAMP: {
      const auto stamp = Load<ISC_TIMESTAMP>(data);
      return FormatDate(stamp.timestamp_date) + " " + FormatTime(stamp.timestamp_time);
    }
    case SQL_BOOLEAN:
      return *data ? "TRUE" : "FALSE";
    case SQL_BLOB:
      if (!database_ || !transaction_) throw DatabaseError("Statement has no transaction");
      return ReadBlob(*database_, *transaction_, Load<ISC_QUAD>(data), column.subType, column.charset);
    default:
      throw DatabaseError("Unsupported column type " + std::to_string(column.type) + " of \"" + column.alias + "\"");
  }
}

}  // namespace brontelx::db
