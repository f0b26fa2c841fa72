#include "host/TerminalText.h"

#include <cstdint>
#include <cstdio>

#include "base/TextCodec.h"

namespace brontelx::cli {
namespace {

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
    const std::size_t start = i;
    const char32_t c = text::DecodeUtf8(text, i);
    if (c == text::kInvalidCodePoint) {
      out += Hex("\\x%02x", static_cast<unsigned char>(text[start]));
    } else if (IsControl(c)) {
      AppendEscaped(out, c);
    } else {
      out.append(text.substr(start, i - start));
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
