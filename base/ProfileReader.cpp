#include "base/ProfileReader.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <optional>
#include <system_error>

#include "base/TextCodec.h"

namespace brontelx {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Next code point of UTF-8 text, advancing `pos`. A byte that does not start a well-formed
// sequence is returned on its own, tagged so that it only ever equals the same byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
  const char32_t cp = text::DecodeUtf8(s, pos);
  return cp == text::kInvalidCodePoint ? 0x80000000u | lead : cp;
}

// Lower-case partner of ASCII, Latin-1 and Latin Extended-A capitals.
char32_t FoldCase(char32_t c) {
  if (c >= 'A' && c <= 'Z') return c + 0x20;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 1 ? c + 1 : c;
  return c;
}

bool SameName(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (FoldCase(NextCodePoint(a, i)) != FoldCase(NextCodePoint(b, j))) return false;
  }
  return i == a.size() && j == b.size();
}

// The first `count` characters of UTF-8 text.
std::string_view FirstCharacters(std::string_view s, std::size_t count) {
  std::size_t seen = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) continue;
    if (seen == count) return s.substr(0, i);
    ++seen;
  }
  return s;
}

std::string FileText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return text::Utf16LeToUtf8(bytes.substr(2));
  if (bytes.starts_with("\xEF\xBB\xBF")) return text::SanitizeUtf8(bytes.substr(3));
  if (text::IsValidUtf8(bytes)) return std::string(bytes);
  return text::Cp1252ToUtf8(bytes);
}

// The raw value of the first `key` line in the first `[section]`, if any.
std::optional<std::string_view> FindValue(std::string_view text, std::string_view section, std::string_view key) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  bool inSection = false;
  for (std::size_t pos = 0; pos <= text.size();) {
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    const std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty() || line.front() == ';') continue;
    // A header runs to the last ']' of its line; a '[' line without one is read as a key line.
    if (line.front() == '[' && line.find(']') != std::string_view::npos) {
      if (inSection) return std::nullopt;
      inSection = SameName(TrimBlanks(line.substr(1, line.rfind(']') - 1)), section);
      continue;
    }
    const std::size_t equals = line.find('=');
    if (inSection && equals != std::string_view::npos && SameName(TrimBlanks(line.substr(0, equals)), key)) {
      return line.substr(equals + 1);
    }
  }
  return std::nullopt;
}

std::string CleanValue(std::string_view value) {
  value = TrimBlanks(value.substr(0, value.find('\0')));
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(FirstCharacters(value, kMaxProfileValueLength));
}

std::string CleanDefault(std::string_view value) {
  while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
  return std::string(FirstCharacters(value, kMaxProfileValueLength));
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  while (bytes.size() < kMaxProfileFileBytes &&
         (in.read(buffer, static_cast<std::streamsize>(std::min(sizeof buffer, kMaxProfileFileBytes - bytes.size()))) ||
          in.gcount() > 0)) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

}  // namespace

std::string ProfileStringFromBytes(std::string_view fileBytes, std::string_view section, std::string_view key,
                                   std::string_view defaultValue) {
  const std::string text = FileText(fileBytes);
  const auto value = FindValue(text, section, key);
  return value ? CleanValue(*value) : CleanDefault(defaultValue);
}

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                              std::string_view defaultValue) {
  try {
    if (const auto bytes = ReadFileBytes(file)) return ProfileStringFromBytes(*bytes, section, key, defaultValue);
  } catch (const std::exception&) {
    // A file too large to hold in memory counts as unreadable.
  }
  return CleanDefault(defaultValue);
}

}  // namespace brontelx
