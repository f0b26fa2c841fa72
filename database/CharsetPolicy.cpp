#include "database/internal/CharsetPolicy.h"

#include "base/Ascii.h"
#include "base/TextCodec.h"
#include "database/DatabaseError.h"
#include "database/FbHandle.h"
#include "database/internal/DatabaseCharset.h"
#include "database/internal/Wire.h"

namespace brontelx::db {
namespace {

constexpr int kTextSubType = 1;

// The transaction the character set is read in when the caller has none: read only, read
// committed.
constexpr unsigned char kReadTpb[] = {isc_tpb_version3, isc_tpb_read, isc_tpb_read_committed, isc_tpb_rec_version};

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

const charsets::ByteEncoding& CharsetPolicy::NoneEncoding(Firebird::ITransaction* within) {
  if (noneEncoding_) return *noneEncoding_;
  std::string charset;
  if (within) {
    charset = ReadDefaultCharset(attachment_, within);
  } else {
    Status status(&wire_);
    FbHandle<Firebird::ITransaction> transaction(attachment_->startTransaction(&status, sizeof kReadTpb, kReadTpb));
    charset = ReadDefaultCharset(attachment_, transaction.get());
    transaction.EndOrKeep(status, &Firebird::ITransaction::commit<Status>);
  }
  noneEncoding_ = charsets::ByteEncoding::ForCharset(charset);
  wire_.SetMessageEncoding(*noneEncoding_);
  return *noneEncoding_;
}

std::string CharsetPolicy::EncodeNone(std::string_view text, Firebird::ITransaction* within) {
  if (ascii::IsSevenBit(text)) return std::string(text);
  std::optional<std::string> bytes = NoneEncoding(within).Encode(text);
  if (!bytes) throw DatabaseError(charsets::kTransliterationMessage, isc_arith_except);
  return std::move(*bytes);
}

std::string CharsetPolicy::EncodeSql(const std::string& sql, Firebird::ITransaction* within) {
  return EncodeNone(sql, within);
}

std::string CharsetPolicy::EncodeParam(std::string_view text, unsigned charset, Firebird::ITransaction* within) {
  if (charset == charsets::kNone) return EncodeNone(text, within);
  return std::string(text);
}

std::string CharsetPolicy::DecodeColumn(std::string_view bytes, unsigned charset, Firebird::ITransaction* within) {
  if (charset == charsets::kOctets) return std::string(bytes);
  if (charset != charsets::kNone) return text::SanitizeUtf8(bytes);
  if (ascii::IsSevenBit(bytes)) return std::string(bytes);
  return NoneEncoding(within).Decode(bytes);
}

std::vector<unsigned char> CharsetPolicy::ReadBlobParams(int subType, unsigned charset) const {
  if (!NeedsTransliteration(subType, charset)) return {};
  return TransliterationBpb(charset, charsets::kUtf8);
}

std::string CharsetPolicy::DecodeBlob(std::string_view bytes, int subType, unsigned charset,
                                      Firebird::ITransaction* within) {
  if (subType != kTextSubType) return std::string(bytes);
  return DecodeColumn(bytes, charset, within);
}

CharsetPolicy::BlobValue CharsetPolicy::EncodeBlob(std::string_view utf8, int subType, unsigned charset,
                                                   Firebird::ITransaction* within) {
  if (subType == kTextSubType && charset == charsets::kNone) return {EncodeNone(utf8, within), {}};
  if (subType == kTextSubType && charsets::ServerTransliterates(charset)) {
    if (!text::IsValidUtf8(utf8)) throw DatabaseError("Malformed string", isc_malformed_string);
    if (charset != charsets::kUtf8) return {std::string(utf8), TransliterationBpb(charsets::kUtf8, charset)};
  }
  return {std::string(utf8), {}};
}

}  // namespace brontelx::db
