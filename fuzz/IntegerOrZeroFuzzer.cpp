// Converts arbitrary text as the user fields of the test window do, and checks the answer against
// a plain reference built on the C library's strtoll/strtoull with explicit range checks:
// - leading spaces, an optional sign, then decimal digits: the value when it lies in the signed
//   32-bit range, otherwise 0;
// - the same with "$", "x", "X", "0x" or "0X" before hexadecimal digits: the digits' value when it
//   fits in 32 bits, taken as a bit pattern (the sign negates it modulo 2^32), otherwise 0;
// - any other text (empty, trailing blanks, other characters) gives 0.
// Every 32-bit integer, written in any of the accepted forms, also converts back to itself.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "forms/IntegerOrZero.h"
#include "fuzz/Check.h"

namespace {

using brontelx::IntegerOrZero;
using brontelx::fuzz::Check;

bool AllDigits(std::string_view s, const char* digits) {
  return !s.empty() && s.find_first_not_of(digits) == std::string_view::npos;
}

std::int32_t Reference(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  std::string_view rest = text.substr(start);
  const bool negative = rest.starts_with('-');
  if (negative || rest.starts_with('+')) rest.remove_prefix(1);
  std::size_t prefix = 0;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    prefix = 2;
  } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    prefix = 1;
  }
  const std::string digits(rest.substr(prefix));
  errno = 0;
  if (prefix == 0) {
    if (!AllDigits(digits, "0123456789")) return 0;
    const long long value = std::strtoll((negative ? "-" + digits : digits).c_str(), nullptr, 10);
    if (errno == ERANGE || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
      return 0;
    return static_cast<std::int32_t>(value);
  }
  if (!AllDigits(digits, "0123456789abcdefABCDEF")) return 0;
  const unsigned long long value = std::strtoull(digits.c_str(), nullptr, 16);
  if (errno == ERANGE || value > 0xFFFFFFFFull) return 0;
  // The pattern, negated when signed, reduced modulo 2^32 into the signed range.
  constexpr long long kTwoTo32 = 1LL << 32;
  const long long signedValue = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
  const long long pattern = (signedValue % kTwoTo32 + kTwoTo32) % kTwoTo32;
  return static_cast<std::int32_t>(pattern >= kTwoTo32 / 2 ? pattern - kTwoTo32 : pattern);
}

// `n` as a person may write it: leading spaces, then decimal with an optional sign and leading
// zeros, or hexadecimal (either case, any prefix) of its pattern or, after '-', of the negated
// pattern; the bits of `form` choose.
std::string Written(std::int32_t n, std::uint8_t form) {
  static constexpr const char* kPrefixes[] = {"$", "x", "X", "0x", "0X", "$", "0x", "X"};
  const auto pattern = static_cast<std::uint32_t>(n);
  const bool plus = form & 0x10;
  const char* prefix = kPrefixes[form >> 5];
  char written[48];
  switch ((form >> 2) % 4) {
    case 0:
      std::snprintf(written, sizeof written, "%s%d", plus && n >= 0 ? "+" : "", n);
      break;
    case 1:
      std::snprintf(written, sizeof written, "%s%s%X", plus ? "+" : "", prefix, pattern);
      break;
    case 2:
      std::snprintf(written, sizeof written, "-%s%x", prefix, 0u - pattern);
      break;
    default:
      std::snprintf(written, sizeof written, "%s000%lld", n < 0 ? "-" : plus ? "+" : "", std::llabs(n));
      break;
  }
  return std::string(form & 3, ' ') + written;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  Check(IntegerOrZero(text) == Reference(text), "the conversion agrees with the strtoll/strtoull reference");
  if (size >= 5) {
    std::int32_t n;
    std::memcpy(&n, data, sizeof n);
    Check(IntegerOrZero(Written(n, data[4])) == n,
          "every 32-bit integer written in an accepted form converts back");
  }
  return 0;
}
