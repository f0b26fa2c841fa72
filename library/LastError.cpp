#include "LastError.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace brontelx {
namespace {

std::string& Message() {
  thread_local std::string message;
  return message;
}

// The longest prefix of at most `limit` bytes that ends on a character boundary of UTF-8 text.
std::size_t CharacterBoundary(const std::string& text, std::size_t limit) {
  if (limit >= text.size()) return text.size();
  std::size_t end = limit;
  // Continuation bytes (10xxxxxx) belong to the character before them.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

}  // namespace

void SetLastError(std::string message) { Message() = std::move(message); }

std::int32_t CopyLastError(char* buffer, std::int32_t size) {
  const std::string& message = Message();
  if (buffer && size > 0) {
    const std::size_t length = CharacterBoundary(message, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, message.data(), length);
    buffer[length] = '\0';
  }
  return static_cast<std::int32_t>(std::min<std::size_t>(message.size(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace brontelx
