#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the UTF-8 text used throughout the library and the byte encodings found
// in files and databases written by the product's Windows programs.
namespace brontelx::text {

// The one UTF-8 decoder: the code point at `pos`, advancing `pos` past it. A byte that does not
// start a well-formed sequence (no overlongs, no surrogates, at most U+10FFFF) gives
// kInvalidCodePoint and advances by that one byte.
constexpr char32_t kInvalidCodePoint = 0xFFFFFFFF;
char32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// True when the bytes form well-formed UTF-8 (no overlongs, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// Windows-1252 bytes to UTF-8. The five undefined bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the
// C1 control of the same value, as Windows does, so no byte is ever lost.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; empty when the text is not valid UTF-8 or holds a character that
// Windows-1252 cannot represent.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);

// ISO-8859-1 bytes to UTF-8 and back (same contract as the Windows-1252 pair).
std::string Latin1ToUtf8(std::string_view bytes);
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

// UTF-16LE bytes (no BOM) to UTF-8. Unpaired surrogates become U+FFFD; an odd final byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 whose invalid sequences are replaced by U+FFFD, so text read from a database or a file is
// always valid UTF-8 afterwards.
std::string SanitizeUtf8(std::string_view bytes);

// Number of Unicode code points in valid UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

}  // namespace brontelx::text
