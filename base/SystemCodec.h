#pragma once

#include <optional>
#include <string>
#include <string_view>

// The operating system's conversions for the Firebird character sets that are not built into
// TextCodec (UTF8, WIN1252, ISO8859_1 and NONE are): iconv on POSIX systems
// (SystemCodec_posix.cpp), the code pages of the Windows API on Windows (SystemCodec_win32.cpp).
// `charset` is a Firebird character-set name without padding ("WIN1250", "ISO8859_2", "KOI8R").
namespace brontelx::text {

// True when the system converts the character set.
bool SystemCodecKnows(std::string_view charset);

// Bytes in the character set to UTF-8; what the set cannot read becomes U+FFFD.
std::string SystemCodecToUtf8(std::string_view charset, std::string_view bytes);

// UTF-8 to the character set; empty when the text is not UTF-8, holds a character the set cannot
// represent, or the system does not know the set.
std::optional<std::string> Utf8ToSystemCodec(std::string_view charset, std::string_view utf8);

}  // namespace brontelx::text
