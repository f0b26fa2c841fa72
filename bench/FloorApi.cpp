#include "bench/FloorApi.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "database/Connection.h"

namespace brontelx::bench::floor {

const std::vector<unsigned char>& Dpb() {
  static const std::vector<unsigned char> dpb = [] {
    db::Status status;
    Firebird::IXpbBuilder* builder =
        db::Util()->getXpbBuilder(status.Get(), Firebird::IXpbBuilder::DPB, nullptr, 0);
    builder->insertTag(status.Get(), isc_dpb_utf8_filename);
    builder->insertInt(status.Get(), isc_dpb_connect_timeout, db::Connection::kConnectTimeoutSeconds);
    builder->insertString(status.Get(), isc_dpb_user_name, "SYSDBA");
    builder->insertString(status.Get(), isc_dpb_password, "quillbank");
    const unsigned char* buffer = builder->getBuffer(status.Get());
    const unsigned length = builder->getBufferLength(status.Get());
    std::vector<unsigned char> block(buffer, buffer + length);
    builder->dispose();
    return block;
  }();
  return dpb;
}

Firebird::IAttachment* Attach(db::Status& status, const std::string& database) {
  const std::vector<unsigned char>& dpb = Dpb();
  Firebird::IAttachment* attachment = db::Provider()->attachDatabase(
      status.Get(), database.c_str(), static_cast<unsigned>(dpb.size()), dpb.data());
  return attachment;
}

Message::Message(db::Status& status, Firebird::IMessageMetadata* metadata) : metadata_(metadata) {
  const unsigned count = metadata_->getCount(status.Get());
  for (unsigned i = 0; i < count; ++i) {
    fields_.push_back({metadata_->getType(status.Get(), i) & ~1u, metadata_->getLength(status.Get(), i),
                       metadata_->getOffset(status.Get(), i), metadata_->getNullOffset(status.Get(), i)});
  }
  buffer_.assign(metadata_->getMessageLength(status.Get()), 0);
}

void Message::SetNull(unsigned index) {
  const std::int16_t null = -1;
  std::memcpy(buffer_.data() + fields_.at(index).nullOffset, &null, sizeof null);
}

void Message::SetText(unsigned index, std::string_view text) {
  const Field& field = fields_.at(index);
  if (text.size() > field.length) throw std::length_error("text longer than its field");
  const std::int16_t notNull = 0;
  std::memcpy(buffer_.data() + field.nullOffset, &notNull, sizeof notNull);
  unsigned char* data = buffer_.data() + field.offset;
  if (field.type == SQL_VARYING) {
    const auto length = static_cast<std::uint16_t>(text.size());
    std::memcpy(data, &length, sizeof length);
    std::memcpy(data + sizeof length, text.data(), text.size());
  } else if (field.type == SQL_TEXT) {
    std::memset(data, ' ', field.length);
    std::memcpy(data, text.data(), text.size());
  } else {
    throw std::logic_error("not a text field");
  }
}

void Message::SetInt(unsigned index, std::int64_t value) {
  const Field& field = fields_.at(index);
  const std::int16_t notNull = 0;
  std::memcpy(buffer_.data() + field.nullOffset, &notNull, sizeof notNull);
  unsigned char* data = buffer_.data() + field.offset;
  if (field.type == SQL_INT64) {
    std::memcpy(data, &value, sizeof value);
  } else if (field.type == SQL_LONG) {
    const auto narrow = static_cast<std::int32_t>(value);
    std::memcpy(data, &narrow, sizeof narrow);
  } else if (field.type == SQL_SHORT) {
    const auto narrow = static_cast<std::int16_t>(value);
    std::memcpy(data, &narrow, sizeof narrow);
  } else {
    throw std::logic_error("not an integer field");
  }
}

bool Message::IsNull(unsigned index) const {
  std::int16_t null = 0;
  std::memcpy(&null, buffer_.data() + fields_.at(index).nullOffset, sizeof null);
  return null != 0;
}

std::string Message::Text(unsigned index) const {
  if (IsNull(index)) return {};
  const Field& field = fields_.at(index);
  const unsigned char* data = buffer_.data() + field.offset;
  if (field.type == SQL_VARYING) {
    std::uint16_t length = 0;
    std::memcpy(&length, data, sizeof length);
    return std::string(reinterpret_cast<const char*>(data) + sizeof length, length);
  }
  if (field.type == SQL_TEXT) return std::string(reinterpret_cast<const char*>(data), field.length);
  throw std::logic_error("not a text field");
}

std::int64_t Message::Int(unsigned index) const {
  if (IsNull(index)) return 0;
  const Field& field = fields_.at(index);
  const unsigned char* data = buffer_.data() + field.offset;
  if (field.type == SQL_INT64) {
    std::int64_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
  }
  if (field.type == SQL_LONG) {
    std::int32_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
  }
  if (field.type == SQL_SHORT) {
    std::int16_t value = 0;
    std::memcpy(&value, data, sizeof value);
    return value;
  }
  throw std::logic_error("not an integer field");
}

Message InputOf(db::Status& status, Firebird::IStatement* statement) {
  return Message(status, statement->getInputMetadata(status.Get()));
}

Message OutputOf(db::Status& status, Firebird::IStatement* statement) {
  return Message(status, statement->getOutputMetadata(status.Get()));
}

namespace {

constexpr unsigned kUtf8 = 4;

// A message of one nullable field of the given type, laid out by the client.
Message OneField(db::Status& status, unsigned type, unsigned length, unsigned charset) {
  const db::FbRef<Firebird::IMetadataBuilder> builder(db::Master()->getMetadataBuilder(status.Get(), 1));
  builder->setType(status.Get(), 0, type | 1);
  builder->setLength(status.Get(), 0, length);
  builder->setCharSet(status.Get(), 0, charset);
  return Message(status, builder->getMetadata(status.Get()));
}

}  // namespace

std::int64_t ExecuteCount(db::Status& status, Firebird::IAttachment* attachment,
                          Firebird::ITransaction* transaction, const char* sql, std::string_view text) {
  Message input =
      OneField(status, SQL_VARYING, std::max<unsigned>(1, static_cast<unsigned>(text.size())), kUtf8);
  Message output = OneField(status, SQL_INT64, sizeof(std::int64_t), 0);
  input.SetText(0, text);
  attachment->execute(status.Get(), transaction, 0, sql, kDialect, input.Metadata(), input.Data(),
                      output.Metadata(), output.Data());
  return output.Int(0);
}

}  // namespace brontelx::bench::floor
