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
  std::string iconvName = IconvName(name);
  if (iconvName.empty() || !text::IconvKnows(iconvName))
    throw DatabaseError("Unsupported character set " + std::string(name));
  return ByteEncoding(nullptr, std::move(iconvName));
}

std::string ByteEncoding::Decode(std::string_view bytes) const {
  return codec_ ? codec_->decode(bytes) : text::IconvToUtf8(iconvName_, bytes);
}

std::optional<std::string> ByteEncoding::Encode(std::string_view utf8) const {
  return codec_ ? codec_->encode(utf8) : text::Utf8ToIconv(iconvName_, utf8);
}

}  // namespace brontelx::db::charsets
