#include "database/internal/TextBlob.h"

#include <algorithm>
#include <vector>

#include "database/internal/ConnectionCore.h"

namespace brontelx::db {
namespace {

constexpr unsigned kSegmentSize = 32768;

}  // namespace

std::string ReadBlob(ConnectionCore& connection, Firebird::ITransaction* transaction, ISC_QUAD id, int subType,
                     unsigned charset) {
  CharsetPolicy& charsets = connection.Charsets();
  const std::vector<unsigned char> bpb = charsets.ReadBlobParams(subType, charset);
  Status status(&connection.GetWire());
  FbHandle<Firebird::IBlob> blob(
      connection.Attachment()->openBlob(&status, transaction, &id, static_cast<unsigned>(bpb.size()), bpb.data()));
  std::string bytes;
  std::vector<char> segment(kSegmentSize);
  for (;;) {
    unsigned got = 0;
    const int result = blob->getSegment(&status, static_cast<unsigned>(segment.size()), segment.data(), &got);
    bytes.append(segment.data(), got);
    if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT) break;
  }
  blob.End(status, &Firebird::IBlob::close<Status>);
  return charsets.DecodeBlob(bytes, subType, charset, transaction);
}

ISC_QUAD WriteBlob(ConnectionCore& connection, Firebird::ITransaction* transaction, std::string_view value,
                   int subType, unsigned charset) {
  const CharsetPolicy::BlobValue blobValue = connection.Charsets().EncodeBlob(value, subType, charset, transaction);
  const std::string& bytes = blobValue.bytes;
  ISC_QUAD id{};
  Status status(&connection.GetWire());
  // Until it is closed, an error cancels the blob: no half-written value remains.
  FbHandle<Firebird::IBlob> blob(connection.Attachment()->createBlob(
      &status, transaction, &id, static_cast<unsigned>(blobValue.params.size()), blobValue.params.data()));
  for (std::size_t pos = 0; pos < bytes.size(); pos += kSegmentSize) {
    const auto length = static_cast<unsigned>(std::min<std::size_t>(kSegmentSize, bytes.size() - pos));
    blob->putSegment(&status, length, bytes.data() + pos);
  }
  blob.End(status, &Firebird::IBlob::close<Status>);
  return id;
}

}  // namespace brontelx::db
