#pragma once

#include <cstdint>
#include <string>

namespace brontelx {

// The message of the last failed entry-point call of the calling thread; empty after a success.
void SetLastError(std::string message);

// Copies the message into `buffer` as the C interface promises and returns its full length.
std::int32_t CopyLastError(char* buffer, std::int32_t size);

}  // namespace brontelx
