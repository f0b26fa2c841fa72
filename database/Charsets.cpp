#include "Charsets.h"

#include "TextCodec.h"

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

ByteEncoding EncodingForDefaultCharset(std::string_view name) {
  // RDB$CHARACTER_SET_NAME is a CHAR column: ignore its padding.
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name == "UTF8" || name == "UNICODE_FSS") return ByteEncoding::Utf8;
  if (name == "ISO8859_1") return ByteEncoding::Latin1;
  return ByteEncoding::Windows1252;
}

std::string Decode(ByteEncoding encoding, std::string_view bytes) {
  switch (encoding) {
    case ByteEncoding::Utf8:
      return text::SanitizeUtf8(bytes);
    case ByteEncoding::Latin1:
      return text::Latin1ToUtf8(bytes);
    case ByteEncoding::Windows1252:
      break;
  }
  return text::Cp1252ToUtf8(bytes);
}

std::optional<std::string> Encode(ByteEncoding encoding, std::string_view utf8) {
  switch (encoding) {
    case ByteEncoding::Utf8:
      if (!text::IsValidUtf8(utf8)) return std::nullopt;
      return std::string(utf8);
    case ByteEncoding::Latin1:
      return text::Utf8ToLatin1(utf8);
    case ByteEncoding::Windows1252:
      break;
  }
  return text::Utf8ToCp1252(utf8);
}

}  // namespace brontelx::db::charsets
