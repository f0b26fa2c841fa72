#include "host/ResultLine.h"

#include <cstdio>

#include "base/TextCodec.h"
#include "host/TerminalText.h"

namespace brontelx::cli {
namespace {

std::string TsvField(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      default: out += c;
    }
  }
  return out;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t start = i;
    const char32_t c = text::DecodeUtf8(text, i);
    if (c == text::kInvalidCodePoint) {
      out += "\\ufffd";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[12];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out.append(text, start, i - start);
    }
  }
  return out + "\"";
}

}  // namespace

std::string ResultLine(ResultFormat format, const std::string& datum, const std::string& result) {
  switch (format) {
    case ResultFormat::Tsv: return TsvField(datum) + "\t" + TsvField(result);
    case ResultFormat::Json: return "{\"datum\":" + JsonString(datum) + ",\"result\":" + JsonString(result) + "}";
    case ResultFormat::Plain: break;
  }
  return ResultText(result, datum, "  ");
}

}  // namespace brontelx::cli
