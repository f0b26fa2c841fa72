// Decodes arbitrary bytes with every conversion of the text codec, as dati.ini files and database
// columns without a character set use them, and encodes the decoded texts back. Judged against the
// Unicode rules of Unicode.h:
// - UTF-8: the validity test and the decoder agree with the standard's table of well-formed
//   sequences; sanitizing keeps every well-formed sequence and puts U+FFFD for each byte that
//   starts none;
// - UTF-16LE: any bytes decode to valid UTF-8 in which only unpaired surrogates changed (to U+FFFD)
//   and an odd last byte is dropped; every text survives encoding and decoding;
// - the byte encodings of columns (Windows-1252, Latin-1, Windows-1250 through iconv, UTF-8):
//   decoding gives valid UTF-8, each byte read as the C library's iconv tables read it on its own
//   (Windows-1252's five undefined bytes as C1 controls); bytes that all have a character come back
//   from decode then encode; a text encodes exactly when the set holds each of its characters, and
//   then decodes back to itself.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Iconv.h"
#include "base/TextCodec.h"
#include "database/Charsets.h"
#include "fuzz/Check.h"
#include "fuzz/Unicode.h"

namespace {

using brontelx::db::charsets::ByteEncoding;
using brontelx::fuzz::Check;
using brontelx::fuzz::CodePointAt;
using brontelx::fuzz::CodePoints;
using brontelx::fuzz::SequenceLength;
using brontelx::fuzz::Utf16Le;
using brontelx::fuzz::WellFormedUtf8;
namespace text = brontelx::text;

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// The standard's reading of arbitrary bytes: well-formed sequences kept, U+FFFD for each other byte.
std::string ReferenceSanitized(std::string_view bytes) {
  std::string out;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, pos);
    out += length == 0 ? kReplacement : bytes.substr(pos, length);
    pos += std::max<std::size_t>(length, 1);
  }
  return out;
}

void CheckUtf8(std::string_view bytes) {
  Check(text::IsValidUtf8(bytes) == WellFormedUtf8(bytes),
        "IsValidUtf8 follows the table of well-formed UTF-8");
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = SequenceLength(bytes, pos);
    std::size_t next = pos;
    const char32_t cp = text::DecodeUtf8(bytes, next);
    if (length == 0) {
      Check(cp == text::kInvalidCodePoint && next == pos + 1,
            "a byte that starts no sequence decodes as invalid");
    } else {
      Check(cp == CodePointAt(bytes, pos, length) && next == pos + length,
            "a well-formed sequence decodes whole");
    }
    pos = next;
  }
  const std::string sanitized = text::SanitizeUtf8(bytes);
  Check(sanitized == ReferenceSanitized(bytes),
        "sanitizing replaces exactly the bytes that start no sequence");
  Check(text::Utf8Length(sanitized) == CodePoints(sanitized).size(), "Utf8Length counts code points");
}

void CheckUtf16(std::string_view bytes, const std::vector<std::string>& texts) {
  const std::string decoded = text::Utf16LeToUtf8(bytes);
  Check(WellFormedUtf8(decoded), "UTF-16LE decodes to valid UTF-8");
  // Encoded again, unit for unit the input: pairs and other units as they were, unpaired surrogates
  // as U+FFFD.
  const std::string again = Utf16Le(CodePoints(decoded));
  Check(again.size() == bytes.size() / 2 * 2,
        "UTF-16LE decoding keeps every unit and drops an odd last byte");
  for (std::size_t i = 0; i < again.size(); i += 2) {
    if (again.compare(i, 2, bytes.substr(i, 2)) == 0) continue;
    const auto high = static_cast<unsigned char>(bytes[i + 1]);
    Check(high >= 0xD8 && high <= 0xDF && again.compare(i, 2, "\xFD\xFF") == 0,
          "only unpaired surrogates change in UTF-16LE decoding, to U+FFFD");
  }
  for (const std::string& t : texts) {
    Check(text::Utf16LeToUtf8(Utf16Le(CodePoints(t))) == t,
          "every text survives UTF-16LE encoding and decoding");
  }
}

// A byte encoding of the library, with what each byte means on its own by the C library's iconv
// tables. Windows-1252 reads the five bytes those tables leave undefined as the C1 controls of the
// same value, as Windows does.
struct ByteSet {
  ByteSet(std::string_view firebirdName, const std::string& iconvName)
      : encoding(ByteEncoding::ForCharset(firebirdName)) {
    for (unsigned b = 0; b < 256; ++b) {
      byteText[b] = text::IconvToUtf8(iconvName, std::string(1, static_cast<char>(b)));
      if (byteText[b] == kReplacement && firebirdName == "WIN1252")
        byteText[b] = text::Latin1ToUtf8(std::string(1, static_cast<char>(b)));
      if (byteText[b] == kReplacement) continue;
      for (const char32_t cp : CodePoints(byteText[b])) holds[cp] = true;
    }
  }
  ByteEncoding encoding;
  std::array<std::string, 256> byteText;
  std::vector<bool> holds = std::vector<bool>(0x110000);  // by code point: what the set can hold
};

void CheckSingleByte(const ByteSet& set, std::string_view bytes, const std::vector<std::string>& texts) {
  const std::string decoded = set.encoding.Decode(bytes);
  Check(WellFormedUtf8(decoded), "a byte encoding decodes to valid UTF-8");
  std::string byteByByte;
  bool allHeld = true;
  for (const char c : bytes) {
    const std::string& one = set.byteText[static_cast<unsigned char>(c)];
    byteByByte += one;
    allHeld = allHeld && one != kReplacement;
  }
  Check(decoded == byteByByte,
        "a single-byte encoding decodes each byte as its table says, U+FFFD if undefined");
  if (allHeld)
    Check(set.encoding.Encode(decoded) == bytes, "bytes that all have a character survive decode, encode");
  for (const std::string& t : texts) {
    bool held = true;
    for (const char32_t cp : CodePoints(t)) held = held && set.holds[cp];
    const std::optional<std::string> encoded = set.encoding.Encode(t);
    Check(encoded.has_value() == held, "a text encodes exactly when the set holds each of its characters");
    if (encoded)
      Check(set.encoding.Decode(*encoded) == t, "every text the set holds survives encode, decode");
  }
}

void CheckUtf8Column(std::string_view bytes, const std::vector<std::string>& texts) {
  static const ByteEncoding utf8 = ByteEncoding::ForCharset("UTF8");
  Check(utf8.Decode(bytes) == ReferenceSanitized(bytes), "UTF8 columns decode by sanitizing");
  Check(utf8.Encode(bytes).has_value() == WellFormedUtf8(bytes), "UTF8 columns encode valid UTF-8 only");
  for (const std::string& t : texts) Check(utf8.Encode(t) == t, "UTF8 columns encode valid text unchanged");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<ByteSet> byteSets = [] {
    std::vector<ByteSet> sets;
    sets.emplace_back("WIN1252", "CP1252");
    sets.emplace_back("ISO8859_1", "ISO-8859-1");
    sets.emplace_back("WIN1250", "CP1250");
    return sets;
  }();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckUtf8(bytes);
  // Texts to encode: the input read as UTF-8 and as Windows-1252 (the latter holds every
  // Windows-1252 character, which Latin-1 and Windows-1250 only partly hold).
  const std::vector<std::string> texts = {ReferenceSanitized(bytes), byteSets[0].encoding.Decode(bytes)};
  CheckUtf16(bytes, texts);
  for (const ByteSet& set : byteSets) CheckSingleByte(set, bytes, texts);
  CheckUtf8Column(bytes, texts);
  return 0;
}
