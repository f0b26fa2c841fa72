#pragma once

#include <cstdint>
#include <string_view>

namespace brontelx {

// The integer a person typed, or 0 when the text is not one: leading blanks, an optional sign,
// then decimal digits whose value lies within the signed 32-bit range, or hexadecimal digits after
// "$", "x" or "0x" (either case of x) whose value fits in 32 bits, taken as a 32-bit pattern. An
// empty text, trailing blanks or any other character give 0.
std::int32_t IntegerOrZero(std::string_view text);

}  // namespace brontelx
