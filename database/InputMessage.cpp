#include "database/internal/InputMessage.h"

#include <algorithm>
#include <string>

#include "base/Ascii.h"
#include "database/Charsets.h"
#include "database/DatabaseError.h"
#include "database/FbClient.h"
#include "database/Status.h"
#include "database/internal/ConnectionCore.h"
#include "database/internal/MessageData.h"
#include "database/internal/TextBlob.h"

namespace brontelx::db {

void InputMessage::Describe(Firebird::IStatement* statement, const std::vector<std::size_t>& markerParams) {
  Status status;
  const FbRef<Firebird::IMessageMetadata> metadata(statement->getInputMetadata(&status));
  const unsigned count = metadata->getCount(&status);
  if (count != markerParams.size())
    throw DatabaseError("The statement has " + std::to_string(count) + " parameter markers but " +
                        std::to_string(markerParams.size()) + " named parameters");
  Clear();
  for (unsigned i = 0; i < count; ++i) {
    Marker marker;
    marker.type = BaseType(metadata->getType(&status, i));
    marker.subType = metadata->getSubType(&status, i);
    marker.charset = metadata->getCharSet(&status, i);
    marker.length = metadata->getLength(&status, i);
    marker.scale = metadata->getScale(&status, i);
    marker.param = markerParams[i];
    markers_.push_back(marker);
  }
  described_ = true;
}

void InputMessage::Clear() {
  described_ = false;
  markers_.clear();
  shape_.clear();
  metadata_.reset();
  buffer_.clear();
  offsets_.clear();
}

void InputMessage::Fill(const std::vector<Param>& params, ConnectionCore& connection,
                        Firebird::ITransaction* transaction) {
  std::vector<Shape> shape;
  shape.reserve(markers_.size());
  std::vector<std::string_view> bytes(markers_.size());
  std::vector<std::string> encoded(markers_.size());
  for (std::size_t i = 0; i < markers_.size(); ++i) {
    const Marker& marker = markers_[i];
    const Param& param = params[marker.param];
    if (param.IsNull()) {
      shape.push_back({marker.type, marker.subType, marker.charset, marker.length, marker.scale});
    } else if (param.GetKind() == Param::Kind::Integer) {
      shape.push_back({SQL_INT64, 0, 0, sizeof(std::int64_t), 0});
    } else if (marker.type == SQL_BLOB) {
      shape.push_back({SQL_BLOB, marker.subType, marker.charset, sizeof(ISC_QUAD), 0});
    } else {
      // Declared character sets (and values for non-text markers, which the server converts)
      // travel as UTF-8; NONE is encoded here; OCTETS passes as it is.
      unsigned charset = charsets::kUtf8;
      unsigned capacity = IsTextType(marker.type) ? marker.length / charsets::MaxBytesPerChar(marker.charset) * 4 : 0;
      bytes[i] = param.Text();
      if (IsTextType(marker.type) && !charsets::ServerTransliterates(marker.charset)) {
        charset = marker.charset;
        capacity = marker.length;
        if (charset == charsets::kNone) {
          encoded[i] = connection.Charsets().EncodeParam(param.Text(), charset, transaction);
          bytes[i] = encoded[i];
        }
      }
      // Room for the whole value, so that the server, not the message, reports a value too long.
      if (bytes[i].size() > kMaxVarchar) {
        throw DatabaseError("arithmetic exception, numeric overflow, or string truncation\n-string right truncation",
                            isc_arith_except);
      }
      const auto size = static_cast<unsigned>(bytes[i].size());
      shape.push_back({SQL_VARYING, 0, charset, std::min(kMaxVarchar, std::max({capacity, size, 1u})), 0});
    }
  }
  if (!metadata_ || shape != shape_) Rebuild(std::move(shape));
  Write(params, bytes, connection, transaction);
}

bool InputMessage::Declare(const std::vector<Param>& params, const std::vector<std::size_t>& markerParams,
                           ConnectionCore& connection, Firebird::ITransaction* transaction) {
  std::vector<Shape> shape;
  std::vector<std::string_view> bytes(markerParams.size());
  std::vector<Marker> markers;
  for (std::size_t i = 0; i < markerParams.size(); ++i) {
    const Param& param = params[markerParams[i]];
    Marker marker;
    marker.param = markerParams[i];
    if (param.GetKind() == Param::Kind::Integer) {
      marker.type = SQL_INT64;
      marker.length = sizeof(std::int64_t);
    } else {
      if (!ascii::IsSevenBit(param.Text()) || param.Text().size() > kMaxVarchar) return false;
      bytes[i] = param.Text();
      marker.type = SQL_VARYING;
      marker.charset = charsets::kUtf8;
      marker.length = std::max(1u, static_cast<unsigned>(bytes[i].size()));
    }
    shape.push_back({marker.type, 0, marker.charset, marker.length, 0});
    markers.push_back(marker);
  }
  Clear();
  if (markers.empty()) return true;
  markers_ = std::move(markers);
  Rebuild(std::move(shape));
  Write(params, bytes, connection, transaction);
  return true;
}

void InputMessage::Write(const std::vector<Param>& params, const std::vector<std::string_view>& bytes,
                         ConnectionCore& connection, Firebird::ITransaction* transaction) {
  for (std::size_t i = 0; i < markers_.size(); ++i) {
    const Param& param = params[markers_[i].param];
    unsigned char* data = buffer_.data() + offsets_[i].first;
    Store<std::int16_t>(buffer_.data() + offsets_[i].second, param.IsNull() ? -1 : 0);
    if (param.IsNull()) continue;
    if (param.GetKind() == Param::Kind::Integer) {
      Store<std::int64_t>(data, param.Integer());
    } else if (shape_[i].type == SQL_BLOB) {
      Store<ISC_QUAD>(data, WriteBlob(connection, transaction, param.Text(), markers_[i].subType, markers_[i].charset));
    } else {
      Store<std::uint16_t>(data, static_cast<std::uint16_t>(bytes[i].size()));
      std::copy(bytes[i].begin(), bytes[i].end(), data + sizeof(std::uint16_t));
    }
  }
}

void InputMessage::Rebuild(std::vector<Shape> shape) {
  Status status;
  const FbRef<Firebird::IMetadataBuilder> builder(
      Master()->getMetadataBuilder(&status, static_cast<unsigned>(shape.size())));
  for (unsigned i = 0; i < shape.size(); ++i) {
    builder->setType(&status, i, shape[i].type | 1);  // | 1: nullable
    builder->setSubType(&status, i, shape[i].subType);
    builder->setLength(&status, i, shape[i].length);
    builder->setCharSet(&status, i, shape[i].charset);
    builder->setScale(&status, i, shape[i].scale);
  }
  FbRef<Firebird::IMessageMetadata> metadata(builder->getMetadata(&status));
  std::vector<unsigned char> buffer(metadata->getMessageLength(&status), 0);
  std::vector<std::pair<unsigned, unsigned>> offsets(shape.size());
  for (unsigned i = 0; i < shape.size(); ++i)
    offsets[i] = {metadata->getOffset(&status, i), metadata->getNullOffset(&status, i)};
  metadata_ = std::move(metadata);
  buffer_ = std::move(buffer);
  offsets_ = std::move(offsets);
  shape_ = std::move(shape);
}

}  // namespace brontelx::db
