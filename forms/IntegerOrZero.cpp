#include "forms/IntegerOrZero.h"

#include <algorithm>
#include <optional>

namespace brontelx {
namespace {

std::optional<unsigned> DigitValue(char c, unsigned base) {
  unsigned value = base;
  if (c >= '0' && c <= '9') value = static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') value = static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') value = static_cast<unsigned>(c - 'A' + 10);
  if (value >= base) return std::nullopt;
  return value;
}

// The digits' value, or none when there are none, another character follows or it exceeds `limit`.
std::optional<std::uint64_t> Digits(std::string_view digits, unsigned base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : digits) {
    const std::optional<unsigned> digit = DigitValue(c, base);
    if (!digit) return std::nullopt;
    value = value * base + *digit;
    if (value > limit) return std::nullopt;
  }
  return value;
}

}  // namespace

std::int32_t IntegerOrZero(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);

  std::optional<std::uint64_t> magnitude;
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    magnitude = Digits(text.substr(1), 16, 0xFFFFFFFFu);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    magnitude = Digits(text.substr(2), 16, 0xFFFFFFFFu);
  } else {
    // The magnitude of the most negative value is one more than that of the most positive.
    magnitude = Digits(text, 10, negative ? 2147483648u : 2147483647u);
    if (magnitude && negative) return static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude));
    return magnitude ? static_cast<std::int32_t>(*magnitude) : 0;
  }
  if (!magnitude) return 0;
  // Hexadecimal digits are a bit pattern; a sign negates the pattern's value, wrapping in 32 bits.
  const auto pattern = static_cast<std::uint32_t>(*magnitude);
  return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
}

}  // namespace brontelx
