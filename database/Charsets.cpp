#include "database/Charsets.h"

#include "base/SystemCodec.h"
#include "base/TextCodec.h"
#include "database/DatabaseError.h"

namespace brontelx::db::charsets {

const char* const kTransliterationMessage =
    "arithmetic exception, numeric overflow, or string truncation\n"
    "-Cannot transliterate character between character sets";

unsigned MaxBytesPerChar(unsigned charsetId) {
  switch (charsetId) {
    case kUnicodeFss:
      return 3;
    case kUtf8:
    case 69:  // GB18030
      return 4;
    case 5:   // SJIS_0208
    case 6:   // EUCJ_0208
    case 44:  // KSC_5601
    case 56:  // BIG_5
    case 57:  // GB_2312
    case 67:  // GBK
    case 68:  // CP943C
      return 2;
    default:
      return 1;
  }
}

namespace {

std::optional<std::string> CheckedUtf8(std::string_view utf8) {
  if (!text::IsValidUtf8(utf8)) return std::nullopt;
  return std::string(utf8);
}

constexpr ByteEncoding::Codec kUtf8Codec{text::SanitizeUtf8, CheckedUtf8};
constexpr ByteEncoding::Codec kLatin1Codec{text::Latin1ToUtf8, text::Utf8ToLatin1};
constexpr ByteEncoding::Codec kWindows1252Codec{text::Cp1252ToUtf8, text::Utf8ToCp1252};

}  // namespace

ByteEncoding ByteEncoding::ForCharset(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name == "UTF8" || name == "UNICODE_FSS") return ByteEncoding(&kUtf8Codec);
  if (name == "ISO8859_1") return ByteEncoding(&kLatin1Codec);
  if (name.empty() || name == "NONE" || name == "WIN1252") return ByteEncoding(&kWindows1252Codec);
  if (!text::SystemCodecKnows(name)) throw DatabaseError("Unsupported character set " + std::string(name));
  return ByteEncoding(nullptr, std::string(name));
}

std::string ByteEncoding::Decode(std::string_view bytes) const {
  return codec_ ? codec_->decode(bytes) : text::SystemCodecToUtf8(systemCharset_, bytes);
}

std::optional<std::string> ByteEncoding::Encode(std::string_view utf8) const {
  return codec_ ? codec_->encode(utf8) : text::Utf8ToSystemCodec(systemCharset_, utf8);
}

}  // namespace brontelx::db::charsets
