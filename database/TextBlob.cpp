#include "TextBlob.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Charsets.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "FbClient.h"
#include "TextCodec.h"
#include "Transaction.h"

namespace brontelx::db {
namespace {

constexpr int kTextSubType = 1;
constexpr unsigned kSegmentSize = 32768;

// A blob parameter block asking the server to transliterate text between two character sets.
std::vector<unsigned char> TransliterationBpb(unsigned from, unsigned to) {
  return {isc_bpb_version1,
          isc_bpb_source_type, 1, kTextSubType,
          isc_bpb_source_interp, 1, static_cast<unsigned char>(from),
          isc_bpb_target_type, 1, kTextSubType,
          isc_bpb_target_interp, 1, static_cast<unsigned char>(to)};
}

// Lets go of a blob that an error left open: a blob being read is closed, a blob being written is
// cancelled so that no half-written value remains. After a failure the interface is released.
template <bool Cancel>
struct BlobDropper {
  void operator()(Firebird::IBlob* blob) const {
    Status status;
    if constexpr (Cancel) {
      blob->cancel(status.Get());
    } else {
      blob->close(status.Get());
    }
    if (status.Failed()) blob->release();
  }
};
using ReadBlobHolder = std::unique_ptr<Firebird::IBlob, BlobDropper<false>>;
using WriteBlobHolder = std::unique_ptr<Firebird::IBlob, BlobDropper<true>>;

// Closes a blob that is done with; the error, if any, propagates.
void Close(Firebird::IBlob* blob) {
  Status status;
  blob->close(status.Get());
  if (status.Failed()) {
    blob->release();
    status.Check();
  }
}

bool ServerTransliterates(int subType, unsigned charset) {
  return subType == kTextSubType && charsets::IsDeclared(charset) && charset != charsets::kUtf8;
}

}  // namespace

std::string ReadBlob(Connection& connection, Transaction& transaction, ISC_QUAD id, int subType,
                     unsigned charset) {
  const std::vector<unsigned char> bpb =
      ServerTransliterates(subType, charset) ? TransliterationBpb(charset, charsets::kUtf8)
                                             : std::vector<unsigned char>();
  Status status;
  ReadBlobHolder blob(connection.Attachment()->openBlob(status.Get(), transaction.Handle(), &id,
                                                    static_cast<unsigned>(bpb.size()), bpb.data()));
  status.Check();
  std::string bytes;
  std::vector<char> segment(kSegmentSize);
  for (;;) {
    unsigned got = 0;
    const int result =
        blob->getSegment(status.Get(), static_cast<unsigned>(segment.size()), segment.data(), &got);
    status.Check();
    bytes.append(segment.data(), got);
    if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT) break;
  }
  Close(blob.release());
  if (subType != kTextSubType || charset == charsets::kOctets) return bytes;
  if (charset == charsets::kNone) return connection.NoneEncoding().Decode(bytes);
  return text::SanitizeUtf8(bytes);
}

ISC_QUAD WriteBlob(Connection& connection, Transaction& transaction, std::string_view value, int subType,
                   unsigned charset) {
  std::string encoded;
  std::vector<unsigned char> bpb;
  if (subType == kTextSubType && charset == charsets::kNone) {
    auto bytes = connection.NoneEncoding().Encode(value);
    if (!bytes) throw DatabaseError(charsets::kTransliterationMessage, isc_arith_except);
    encoded = std::move(*bytes);
    value = encoded;
  } else if (subType == kTextSubType && charsets::IsDeclared(charset)) {
    if (!text::IsValidUtf8(value)) throw DatabaseError("Malformed string", isc_malformed_string);
    if (charset != charsets::kUtf8) bpb = TransliterationBpb(charsets::kUtf8, charset);
  }
  ISC_QUAD id{};
  Status status;
  WriteBlobHolder blob(connection.Attachment()->createBlob(status.Get(), transaction.Handle(), &id,
                                                      static_cast<unsigned>(bpb.size()), bpb.data()));
  status.Check();
  for (std::size_t pos = 0; pos < value.size(); pos += kSegmentSize) {
    const auto length = static_cast<unsigned>(std::min<std::size_t>(kSegmentSize, value.size() - pos));
    blob->putSegment(status.Get(), length, value.data() + pos);
    status.Check();
  }
  Close(blob.release());
  return id;
}

}  // namespace brontelx::db
