#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Unicode rules written from the standard (table 3-7 of the Unicode Standard for well-formed UTF-8),
// independently of the library's codec, so that the targets can judge its answers.
namespace brontelx::fuzz {

// Length of the well-formed UTF-8 sequence that starts at `pos`, or 0 when none starts there.
inline std::size_t SequenceLength(std::string_view s, std::size_t pos) {
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[pos + i]); };
  const unsigned lead = b(0);
  if (lead <= 0x7F) return 1;
  std::size_t length = 0;
  unsigned low = 0x80;  // range of the second byte
  unsigned high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlongs
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // no overlongs
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (s.size() - pos < length || b(1) < low || b(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  }
  return length;
}

inline bool WellFormedUtf8(std::string_view s) {
  for (std::size_t pos = 0; pos < s.size();) {
    const std::size_t length = SequenceLength(s, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

// The code point of the well-formed sequence of `length` bytes at `pos`.
inline char32_t CodePointAt(std::string_view s, std::size_t pos, std::size_t length) {
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t cp = static_cast<unsigned char>(s[pos]) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i) cp = (cp << 6) | (static_cast<unsigned char>(s[pos + i]) & 0x3F);
  return cp;
}

// Code points of well-formed UTF-8 text.
inline std::u32string CodePoints(std::string_view utf8) {
  std::u32string out;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t length = SequenceLength(utf8, pos);
    out += CodePointAt(utf8, pos, length);
    pos += length;
  }
  return out;
}

// Code points as UTF-16LE bytes, without BOM.
inline std::string Utf16Le(std::u32string_view codePoints) {
  std::string out;
  const auto unit = [&](char32_t u) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  };
  for (const char32_t cp : codePoints) {
    if (cp < 0x10000) {
      unit(cp);
    } else {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace brontelx::fuzz
