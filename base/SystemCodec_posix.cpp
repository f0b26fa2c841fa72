#include "base/SystemCodec.h"

#include "base/Iconv.h"
#include "base/TextCodec.h"

namespace brontelx::text {
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

bool SystemCodecKnows(std::string_view charset) {
  const std::string name = IconvName(charset);
  return !name.empty() && IconvKnows(name);
}

std::string SystemCodecToUtf8(std::string_view charset, std::string_view bytes) {
  const std::string name = IconvName(charset);
  return name.empty() ? SanitizeUtf8(bytes) : IconvToUtf8(name, bytes);
}

std::optional<std::string> Utf8ToSystemCodec(std::string_view charset, std::string_view utf8) {
  const std::string name = IconvName(charset);
  if (name.empty()) return std::nullopt;
  return Utf8ToIconv(name, utf8);
}

}  // namespace brontelx::text
