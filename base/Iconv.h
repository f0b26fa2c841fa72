#pragma once

#include <optional>
#include <string>
#include <string_view>

// The C library's iconv, for the byte encodings that are not built into TextCodec (POSIX systems
// only; SystemCodec_posix.cpp names the encodings of Firebird's character sets).
namespace brontelx::text {

// Any single- or multi-byte encoding that iconv knows, by its iconv name ("CP1250",
// "ISO-8859-2", ...). Decoding replaces what the encoding cannot read by U+FFFD; encoding gives
// empty when a character cannot be represented.
bool IconvKnows(const std::string& encoding);
std::string IconvToUtf8(const std::string& encoding, std::string_view bytes);
std::optional<std::string> Utf8ToIconv(const std::string& encoding, std::string_view utf8);

}  // namespace brontelx::text
