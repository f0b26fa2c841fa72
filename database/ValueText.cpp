#include "database/internal/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "database/FbClient.h"

namespace brontelx::db::value {

std::string ScaledText(std::int64_t value, int scale) {
  const auto magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  std::string digits = std::to_string(magnitude);
  if (scale < 0) {
    const auto places = static_cast<std::size_t>(-scale);
    if (digits.size() <= places) digits.insert(0, places - digits.size() + 1, '0');
    digits.insert(digits.size() - places, ".");
  } else {
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  return value < 0 ? "-" + digits : digits;
}

std::string DoubleText(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string DateText(ISC_DATE date) {
  unsigned year = 0, month = 0, day = 0;
  Util()->decodeDate(date, &year, &month, &day);
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u", year, month, day);
  return buffer;
}

std::string TimeText(ISC_TIME time) {
  unsigned hours = 0, minutes = 0, seconds = 0, fractions = 0;
  Util()->decodeTime(time, &hours, &minutes, &seconds, &fractions);
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%02u:%02u:%02u.%04u", hours, minutes, seconds, fractions);
  return buffer;
}

std::string TimestampText(ISC_TIMESTAMP stamp) {
  return DateText(stamp.timestamp_date) + " " + TimeText(stamp.timestamp_time);
}

std::optional<std::int64_t> ScaledToInteger(std::int64_t value, int scale) {
  std::int64_t result = value;
  for (int s = scale; s > 0; --s) {
    if (__builtin_mul_overflow(result, 10, &result)) return std::nullopt;
  }
  if (scale >= 0) return result;
  // Exact numerics carry at most 18 decimals, so the divisor fits.
  std::int64_t divisor = 1;
  for (int s = scale; s < 0 && divisor <= INT64_MAX / 10; ++s) divisor *= 10;
  const std::int64_t quotient = value / divisor;
  const std::int64_t remainder = value % divisor;
  const auto twice = 2 * (remainder < 0 ? 0 - static_cast<std::uint64_t>(remainder) : static_cast<std::uint64_t>(remainder));
  if (twice < static_cast<std::uint64_t>(divisor)) return quotient;
  return value < 0 ? quotient - 1 : quotient + 1;
}

std::optional<std::int64_t> DoubleToInteger(double value) {
  const double rounded = std::round(value);
  // -2^63 is exact in a double; 2^63 is the first value beyond the range.
  if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

}  // namespace brontelx::db::value
