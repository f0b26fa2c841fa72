#pragma once

#include <string_view>

// Letter tests and case folding of the ASCII letters only, whatever the process locale: names of
// SQL parameters, columns, transaction items and validations are matched this way.
namespace brontelx::ascii {

constexpr bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
constexpr char ToUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when every byte is 7-bit ASCII: such text is the same bytes in every character set the
// layer reads and writes, so it needs neither the database's encoding nor a server's description.
constexpr bool IsSevenBit(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (ToUpper(a[i]) != ToUpper(b[i])) return false;
  }
  return true;
}

}  // namespace brontelx::ascii
