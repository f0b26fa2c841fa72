#pragma once

#include <firebird/Interface.h>

#include <cstdint>
#include <optional>
#include <string>

// How column values read as text look, and how numbers become integers.
namespace brontelx::db::value {

// An exact number stored as `value` × 10^scale: "-12.05", "1200".
std::string ScaledText(std::int64_t value, int scale);
// The shortest text that reads back as the same double: "0.1", "1e+300".
std::string DoubleText(double value);
// "2024-02-29", "13:05:09.1230" (ten-thousandths), "2024-02-29 13:05:09.1230".
std::string DateText(ISC_DATE date);
std::string TimeText(ISC_TIME time);
std::string TimestampText(ISC_TIMESTAMP stamp);

// `value` × 10^scale rounded half away from zero (-12.75 gives -13); empty when the result does
// not fit 64 bits.
std::optional<std::int64_t> ScaledToInteger(std::int64_t value, int scale);
// The double rounded half away from zero; empty for infinities, NaN and values beyond 64 bits.
std::optional<std::int64_t> DoubleToInteger(double value);

}  // namespace brontelx::db::value
