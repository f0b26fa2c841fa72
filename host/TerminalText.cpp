#include "TerminalText.h"

#include <cstdint>
#include <cstdio>

namespace brontelx::cli {
namespace {

// Length of the valid UTF-8 sequence at the start of `text` and its code point, or 0 when the
// first byte does not start one (stray continuation byte, overlong form, surrogate, beyond U+10FFFF).
std::size_t DecodeUtf8(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, minimum = 0x80, codePoint = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, minimum = 0x800, codePoint = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, minimum = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return length;
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

std::string Hex(const char* format, unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

void AppendEscaped(std::string& out, char32_t c) {
  switch (c) {
    case '\t': out += "\\t"; break;
    case '\n': out += "\\n"; break;
    case '\r': out += "\\r"; break;
    default: out += c < 0x80 ? Hex("\\x%02x", static_cast<unsigned>(c)) : Hex("\\u%04X", static_cast<unsigned>(c));
  }
}

// Escapes control characters and invalid bytes; a line break (CR LF or LF) is kept as "\n" +
// indent when `keepLines` is set.
std::string Render(std::string_view text, bool keepLines, std::string_view indent) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (keepLines && (text[i] == '\n' || text.substr(i, 2) == "\r\n")) {
      i += text[i] == '\r' ? 2 : 1;
      out += '\n';
      out += indent;
      continue;
    }
    char32_t c = 0;
    const std::size_t length = DecodeUtf8(text.substr(i), c);
    if (length == 0) {
      out += Hex("\\x%02x", static_cast<unsigned char>(text[i]));
      ++i;
    } else {
      if (IsControl(c)) {
        AppendEscaped(out, c);
      } else {
        out.append(text.substr(i, length));
      }
      i += length;
    }
  }
  return out;
}

}  // namespace

std::string Escaped(std::string_view text) { return Render(text, false, {}); }

std::string MessageText(std::string_view text, std::string_view indent) { return Render(text, true, indent); }

std::string ResultText(std::string_view result, std::string_view datum, std::string_view indent) {
  const std::string safeDatum = Escaped(datum);
  if (safeDatum == datum) return MessageText(result, indent);
  std::string out;
  std::size_t from = 0;
  for (std::size_t at = result.find(datum); at != std::string_view::npos; at = result.find(datum, from)) {
    out += MessageText(result.substr(from, at - from), indent);
    out += safeDatum;
    from = at + datum.size();
  }
  out += MessageText(result.substr(from), indent);
  return out;
}

}  // namespace brontelx::cli
