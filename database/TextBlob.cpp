#include "TextBlob.h"

#include <algorithm>
#include <vector>

#include "Charsets.h"
#include "Connection.h"
#include "DatabaseError.h"
#include "FbHandle.h"
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

// Text in a declared character set other than UTF-8, which the server converts for us.
bool NeedsTransliteration(int subType, unsigned charset) {
  return subType == kTextSubType && charsets::ServerTransliterates(charset) && charset != charsets::kUtf8;
}

}  // namespace

std::string ReadBlob(Connection& connection, Transaction& transaction, ISC_QUAD id, int subType,
                     unsigned charset) {
  const std::vector<unsigned char> bpb =
      NeedsTransliteration(subType, charset) ? TransliterationBpb(charset, charsets::kUtf8)
                                             : std::vector<unsigned char>();
  Status status(&connection);
  FbHandle<Firebird::IBlob> blob(connection.Attachment()->openBlob(&status, transaction.Handle(), &id,
                                                                   static_cast<unsigned>(bpb.size()), bpb.data()));
  std::string bytes;
  std::vector<char> segment(kSegmentSize);
  for (;;) {
    unsigned got = 0;
    const int result = blob->getSegment(&status, static_cast<unsigned>(segment.size()), segment.data(), &got);
    bytes.append(segment.data(), got);
    if (result != Firebird::IStatus::RESULT_OK && result != Firebird::IStatus::RESULT_SEGMENT) break;
  }
  blob.End(status, &Firebird::IBlob::close<Status>);
  if (subType != kTextSubType || charset == charsets::kOctets) return bytes;
  if (charset == charsets::kNone) return connection.DecodeNone(bytes, &transaction);
  return text::SanitizeUtf8(bytes);
}

ISC_QUAD WriteBlob(Connection& connection, Transaction& transaction, std::string_view value, int subType,
                   unsigned charset) {
  std::string encoded;
  std::vector<unsigned char> bpb;
  if (subType == kTextSubType && charset == charsets::kNone) {
    std::optional<std::string> bytes = connection.EncodeNone(value, &transaction);
    if (!bytes) throw DatabaseError(charsets::kTransliterationMessage, isc_arith_except);
    encoded = std::move(*bytes);
    value = encoded;
  } else if (subType == kTextSubType && charsets::ServerTransliterates(charset)) {
    if (!text::IsValidUtf8(value)) throw DatabaseError("Malformed string", isc_malformed_string);
    if (charset != charsets::kUtf8) bpb = TransliterationBpb(charsets::kUtf8, charset);
  }
  ISC_QUAD id{};
  Status status(&connection);
  // Until it is closed, an error cancels the blob: no half-written value remains.
  FbHandle<Firebird::IBlob> blob(connection.Attachment()->createBlob(&status, transaction.Handle(), &id,
                                                                     static_cast<unsigned>(bpb.size()), bpb.data()));
  for (std::size_t pos = 0; pos < value.size(); pos += kSegmentSize) {
    const auto length = static_cast<unsigned>(std::min<std::size_t>(kSegmentSize, value.size() - pos));
    blob->putSegment(&status, length, value.data() + pos);
  }
  blob.End(status, &Firebird::IBlob::close<Status>);
  return id;
}

}  // namespace brontelx::db
