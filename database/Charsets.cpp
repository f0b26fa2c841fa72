#include "Charsets.h"

#include "DatabaseError.h"
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

namespace {

// The iconv name of a Firebird character set; empty for one that has none.
std::string IconvName(std::string_view name) {
  struct Alias {
    std::string_view firebird;
    const char* iconv;
  };
  static constexpr Alias kAliases[] = {
      {"ASCII", "ASCII"},     {"KOI8R", "KOI8-R"},    {"KOI8U", "KOI8-U"},     {"TIS620", "TIS-620"},
      {"BIG_5", "BIG5"},      {"GB_2312", "GB2312"},  {"GBK", "GBK"},          {"GB18030", "GB18030"},
      {"SJIS_0208", "SHIFT_JIS"}, {"EUCJ_0208", "EUC-JP"}, {"KSC_5601", "EUC-KR"}, {"CP943C", "CP932"}};
  for (const Alias& alias : kAliases) {
    if (alias.firebird == name) return alias.iconv;
  }
  if (name.starts_with("WIN")) return "CP" + std::string(name.substr(3));
  if (name.starts_with("DOS")) return "CP" + std::string(name.substr(3));
  if (name.starts_with("ISO8859_")) return "ISO-8859-" + std::string(name.substr(8));
  return {};
}

}  // namespace

ByteEncoding ByteEncoding::ForCharset(std::string_view name) {
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  if (name == "UTF8" || name == "UNICODE_FSS") return ByteEncoding(Kind::Utf8);
  if (name == "ISO8859_1") return ByteEncoding(Kind::Latin1);
  if (name.empty() || name == "NONE" || name == "WIN1252") return ByteEncoding(Kind::Windows1252);
  std::string iconvName = IconvName(name);
  if (iconvName.empty() || !text::IconvKnows(iconvName))
    throw DatabaseError("Unsupported character set " + std::string(name));
  return ByteEncoding(Kind::Iconv, std::move(iconvName));
}

std::string ByteEncoding::Decode(std::string_view bytes) const {
  switch (kind_) {
    case Kind::Utf8:
      return text::SanitizeUtf8(bytes);
    case Kind::Latin1:
      return text::Latin1ToUtf8(bytes);
    case Kind::Windows1252:
      return text::Cp1252ToUtf8(bytes);
    case Kind::Iconv:
      break;
  }
  return text::IconvToUtf8(iconvName_, bytes);
}

std::optional<std::string> ByteEncoding::Encode(std::string_view utf8) const {
  switch (kind_) {
    case Kind::Utf8:
      if (!text::IsValidUtf8(utf8)) return std::nullopt;
      return std::string(utf8);
    case Kind::Latin1:
      return text::Utf8ToLatin1(utf8);
    case Kind::Windows1252:
      return text::Utf8ToCp1252(utf8);
    case Kind::Iconv:
      break;
  }
  return text::Utf8ToIconv(iconvName_, utf8);
}

}  // namespace brontelx::db::charsets
