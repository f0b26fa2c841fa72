// Feeds arbitrary file bytes, section and key names to the dati.ini reader. Properties:
// - a value is valid UTF-8 of at most kMaxProfileValueLength characters on one line, cut at NUL;
// - section and key names match ignoring letter case (ASCII and Latin-1 letters) and blanks around;
// - the file's encoding does not matter: the same text as UTF-8, UTF-8 with BOM, UTF-16LE with BOM
//   or (when it is not UTF-8) Windows-1252 gives the same value;
// - a key line written under its section header before the file is read back, whatever follows:
//   the first section of a name and the first key in it win; an empty section written before the
//   file hides the file's sections of the same name.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/ProfileReader.h"
#include "base/TextCodec.h"
#include "fuzz/Check.h"
#include "fuzz/Unicode.h"

namespace {

using brontelx::ProfileStringFromBytes;
using brontelx::fuzz::Check;
using brontelx::fuzz::CodePoints;
using brontelx::fuzz::WellFormedUtf8;

constexpr std::string_view kDefault = "default";

// The name with the case of its ASCII and Latin-1 letters swapped (À..Þ against à..þ, not × ÷).
std::string OtherCase(std::string_view name) {
  std::string out(name);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z') {
      out[i] = static_cast<char>(c ^ 0x20);
    } else if (c == 0xC3 && i + 1 < out.size()) {
      const auto next = static_cast<unsigned char>(out[i + 1]);
      if (next >= 0x80 && next <= 0xBE && next != 0x9F && (next & 0xDF) != 0x97) {
        out[++i] = static_cast<char>(next ^ 0x20);
      }
    }
  }
  return out;
}

// A name that can be written on a line of its own kind: valid UTF-8, no control characters, no
// blanks around it.
bool Writable(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return WellFormedUtf8(name) && !name.starts_with(' ') && !name.ends_with(' ');
}

bool Ascii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void CheckValue(std::string_view value) {
  Check(WellFormedUtf8(value), "a value is valid UTF-8");
  Check(CodePoints(value).size() <= brontelx::kMaxProfileValueLength,
        "a value keeps at most 2047 characters");
  Check(value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos,
        "a value is one line, cut at NUL");
}

void CheckEncodings(std::string_view bytes, std::string_view section, std::string_view key,
                    const std::string& value) {
  if (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE")) return;
  const std::string text = WellFormedUtf8(bytes) ? std::string(bytes) : brontelx::text::Cp1252ToUtf8(bytes);
  Check(ProfileStringFromBytes("\xEF\xBB\xBF" + text, section, key, kDefault) == value,
        "a file reads the same in UTF-8 with BOM");
  Check(ProfileStringFromBytes("\xFF\xFE" + brontelx::fuzz::Utf16Le(CodePoints(text)), section, key,
                               kDefault) == value,
        "a file reads the same in UTF-16LE with BOM");
}

// `quoting` chooses how the value is written: bare, in double or single quotes, or in quotes with
// blanks inside, which the quotes keep.
void CheckWrittenFirst(std::string_view bytes, std::string_view section, std::string_view key,
                       unsigned quoting) {
  if (!Writable(section) || !Writable(key) || key.find('=') != std::string_view::npos ||
      key.starts_with('[') || key.starts_with(';'))
    return;
  const std::string written = "<" + std::string(section) + "|" + std::string(key) + ">";
  const std::string value = quoting == 3 ? " \t" + written + "\t " : written;
  const std::string quote = quoting == 0 ? "" : quoting == 2 ? "'" : "\"";
  const std::string file = "[" + std::string(section) + "]\r\n" + std::string(key) + " = " + quote + value +
                           quote + " \r\n" + std::string(bytes);
  // A file that is not UTF-8 is read as Windows-1252, which reads only ASCII names as written.
  if (!WellFormedUtf8(file) && !(Ascii(section) && Ascii(key))) return;
  Check(ProfileStringFromBytes(file, section, key, kDefault) == value, "a key written first is read back");
  Check(ProfileStringFromBytes(file, OtherCase(section), OtherCase(key), kDefault) == value,
        "a key written first is read back by its name in the other case");
  const std::string hidden = "[" + std::string(section) + "]\r\n[\x01]\r\n" + std::string(bytes);
  Check(ProfileStringFromBytes(hidden, section, key, kDefault) == kDefault,
        "only the first section of a name counts");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first two bytes choose the lengths of the section and key names that follow them (and, by
  // the high bits of the first, the quoting of CheckWrittenFirst); the rest is the file.
  if (input.size() < 2) return 0;
  const std::size_t sectionLength = static_cast<unsigned char>(input[0]) % 16;
  const std::size_t keyLength = static_cast<unsigned char>(input[1]) % 24;
  std::string_view rest = input.substr(2);
  const std::string_view section = rest.substr(0, std::min(sectionLength, rest.size()));
  rest.remove_prefix(section.size());
  const std::string_view key = rest.substr(0, std::min(keyLength, rest.size()));
  rest.remove_prefix(key.size());

  const std::string value = ProfileStringFromBytes(rest, section, key, kDefault);
  CheckValue(value);
  Check(ProfileStringFromBytes(rest, " \t" + OtherCase(section) + "\t ", " " + OtherCase(key) + "\t",
                               kDefault) == value,
        "names match ignoring letter case and blanks around them");
  CheckEncodings(rest, section, key, value);
  CheckWrittenFirst(rest, section, key, static_cast<unsigned char>(input[0]) / 16 % 4);
  return 0;
}
