#include "database/Row.h"

#include <algorithm>

#include "base/Ascii.h"
#include "database/Charsets.h"
#include "database/DatabaseError.h"
#include "database/FbClient.h"
#include "database/Status.h"
#include "database/internal/MessageData.h"

namespace brontelx::db {

void Row::Describe(Firebird::IStatement* statement) {
  Clear();
  Status status;
  FbRef<Firebird::IMessageMetadata> metadata(statement->getOutputMetadata(&status));
  const unsigned count = metadata->getCount(&status);
  if (count == 0) return;
  // Made only when a column must arrive in another layout than described.
  FbRef<Firebird::IMetadataBuilder> builder;
  std::vector<Column> columns(count);
  for (unsigned i = 0; i < count; ++i) {
    Column& column = columns[i];
    column.alias = metadata->getAlias(&status, i);
    if (column.alias.empty()) column.alias = metadata->getField(&status, i);
    column.type = BaseType(metadata->getType(&status, i));
    column.subType = metadata->getSubType(&status, i);
    column.charset = metadata->getCharSet(&status, i);
    column.scale = metadata->getScale(&status, i);
    column.messageCharset = column.charset;
    if (IsTextType(column.type) && charsets::ServerTransliterates(column.charset)) {
      const unsigned length = metadata->getLength(&status, i);
      const unsigned utf8Length = std::min(kMaxVarchar, length / charsets::MaxBytesPerChar(column.charset) * 4);
      if (column.type != SQL_VARYING || column.charset != charsets::kUtf8 || length != utf8Length) {
        if (!builder) builder.reset(metadata->getBuilder(&status));
        builder->setType(&status, i, SQL_VARYING);
        builder->setCharSet(&status, i, charsets::kUtf8);
        builder->setLength(&status, i, utf8Length);
      }
      column.type = SQL_VARYING;
      column.messageCharset = charsets::kUtf8;
    }
  }
  if (builder) metadata.reset(builder->getMetadata(&status));
  for (unsigned i = 0; i < count; ++i) {
    columns[i].offset = metadata->getOffset(&status, i);
    columns[i].nullOffset = metadata->getNullOffset(&status, i);
    columns[i].length = metadata->getLength(&status, i);
  }
  buffer_.assign(metadata->getMessageLength(&status), 0);
  metadata_ = std::move(metadata);
  columns_ = std::move(columns);
}

void Row::DeclareInteger() {
  Clear();
  Status status;
  const FbRef<Firebird::IMetadataBuilder> builder(Master()->getMetadataBuilder(&status, 1));
  builder->setType(&status, 0, SQL_INT64 | 1);
  builder->setLength(&status, 0, sizeof(std::int64_t));
  builder->setScale(&status, 0, 0);
  FbRef<Firebird::IMessageMetadata> metadata(builder->getMetadata(&status));
  Column column;
  column.type = SQL_INT64;
  column.length = sizeof(std::int64_t);
  column.offset = metadata->getOffset(&status, 0);
  column.nullOffset = metadata->getNullOffset(&status, 0);
  buffer_.assign(metadata->getMessageLength(&status), 0);
  metadata_ = std::move(metadata);
  columns_ = {column};
}

void Row::Clear() {
  columns_.clear();
  metadata_.reset();
  buffer_.clear();
  filled_ = false;
}

const Row::Column& Row::At(unsigned index) const {
  if (index >= columns_.size()) throw DatabaseError("Field index " + std::to_string(index) + " out of range");
  return columns_[index];
}

std::optional<unsigned> Row::Find(std::string_view alias) const {
  for (unsigned i = 0; i < columns_.size(); ++i) {
    if (ascii::EqualsIgnoringCase(columns_[i].alias, alias)) return i;
  }
  return std::nullopt;
}

bool Row::IsNull(unsigned index) const {
  const Column& column = At(index);
  return !filled_ || Load<std::int16_t>(buffer_.data() + column.nullOffset) != 0;
}

}  // namespace brontelx::db
