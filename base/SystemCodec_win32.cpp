#include "base/SystemCodec.h"

#include <windows.h>

#include <climits>

#include "base/TextCodec.h"

namespace brontelx::text {
namespace {

// The Windows code page of a Firebird character set; 0 for one that has none.
UINT CodePage(std::string_view name) {
  struct Alias {
    std::string_view firebird;
    UINT codePage;
  };
  static constexpr Alias kAliases[] = {
      {"ASCII", 20127}, {"KOI8R", 20866},   {"KOI8U", 21866},     {"TIS620", 874},      {"BIG_5", 950},
      {"GB_2312", 936}, {"GBK", 936},       {"GB18030", 54936},   {"SJIS_0208", 932},   {"EUCJ_0208", 20932},
      {"KSC_5601", 949}, {"CP943C", 932}};
  for (const Alias& alias : kAliases) {
    if (alias.firebird == name) return alias.codePage;
  }
  const auto number = [](std::string_view digits) -> UINT {
    UINT value = 0;
    if (digits.empty() || digits.size() > 5) return 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return 0;
      value = value * 10 + static_cast<UINT>(c - '0');
    }
    return value;
  };
  if (name.starts_with("WIN")) return number(name.substr(3));
  if (name.starts_with("DOS")) return number(name.substr(3));
  // ISO-8859-n is code page 28590 + n.
  if (name.starts_with("ISO8859_")) {
    const UINT part = number(name.substr(8));
    return part >= 1 && part <= 16 ? 28590 + part : 0;
  }
  return 0;
}

// GB18030 and UTF-8 take no flags and report no default character: every character has a form.
bool EncodesEverything(UINT codePage) { return codePage == 54936 || codePage == CP_UTF8; }

std::wstring Widen(UINT codePage, DWORD flags, std::string_view bytes, bool& failed) {
  failed = false;
  if (bytes.empty()) return {};
  if (bytes.size() > INT_MAX) {
    failed = true;
    return {};
  }
  const int length = static_cast<int>(bytes.size());
  const int wideLength = MultiByteToWideChar(codePage, flags, bytes.data(), length, nullptr, 0);
  if (wideLength <= 0) {
    failed = true;
    return {};
  }
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(codePage, flags, bytes.data(), length, wide.data(), wideLength);
  return wide;
}

// UTF-16 to the code page; empty when a character has no form there (no best-fit substitutes:
// "ł" must not quietly become "l").
std::optional<std::string> Narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return std::string();
  const int length = static_cast<int>(wide.size());
  const bool exact = EncodesEverything(codePage);
  const DWORD flags = exact ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const reportDefault = exact ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0, nullptr, reportDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, wide.data(), length, bytes.data(), size, nullptr, reportDefault);
  if (usedDefault) return std::nullopt;
  return bytes;
}

}  // namespace

bool SystemCodecKnows(std::string_view charset) {
  const UINT codePage = CodePage(charset);
  return codePage != 0 && IsValidCodePage(codePage);
}

std::string SystemCodecToUtf8(std::string_view charset, std::string_view bytes) {
  const UINT codePage = CodePage(charset);
  bool failed = false;
  // Without MB_ERR_INVALID_CHARS the system puts its replacement where the code page has no
  // character for the bytes.
  const std::wstring wide = codePage ? Widen(codePage, 0, bytes, failed) : std::wstring();
  if (codePage == 0 || failed) return SanitizeUtf8(bytes);
  // UTF-16 to UTF-8 also replaces what is malformed.
  return Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(wide.data()), wide.size() * 2));
}

std::optional<std::string> Utf8ToSystemCodec(std::string_view charset, std::string_view utf8) {
  const UINT codePage = CodePage(charset);
  if (codePage == 0 || !IsValidUtf8(utf8)) return std::nullopt;
  bool failed = false;
  const std::wstring wide = Widen(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, failed);
  if (failed) return std::nullopt;
  return Narrow(codePage, wide);
}

}  // namespace brontelx::text
