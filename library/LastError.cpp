#include "library/LastError.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "base/ThreadKey.h"

namespace brontelx {
namespace {

// Stands for a message that could not be copied; never freed.
constexpr char kNoMemory[] = "Memoria insufficiente";

void FreeMessage(void* message) {
  if (message != kNoMemory) std::free(message);
}

// Each thread's message, a copy in memory of malloc, under one thread key; a thread's copy is
// freed when the thread ends. Unloading the library deletes the key: the copies of threads that
// still run stay allocated, and nothing of the library runs when they end.
class ThreadMessages {
 public:
  ThreadMessages() : key_(FreeMessage) {}
  ~ThreadMessages() { Replace(nullptr); }
  ThreadMessages(const ThreadMessages&) = delete;
  ThreadMessages& operator=(const ThreadMessages&) = delete;

  const char* Current() const { return static_cast<const char*>(key_.Get()); }

  // Takes ownership of `message` (null for none), freeing the message it replaces.
  void Replace(char* message) {
    void* const previous = key_.Get();
    if (key_.Set(message)) {
      FreeMessage(previous);
    } else {
      FreeMessage(message);
    }
  }

 private:
  ThreadKey key_;
};

ThreadMessages& Messages() {
  static ThreadMessages messages;
  return messages;
}

// The longest prefix of at most `limit` bytes that ends on a character boundary of UTF-8 text.
std::size_t CharacterBoundary(const char* text, std::size_t length, std::size_t limit) {
  if (limit >= length) return length;
  std::size_t end = limit;
  // Continuation bytes (10xxxxxx) belong to the character before them.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return end;
}

}  // namespace

void RecordLastError(const char* message) noexcept {
  const std::size_t size = std::strlen(message) + 1;
  auto* copy = static_cast<char*>(std::malloc(size));
  if (copy) {
    std::memcpy(copy, message, size);
  } else {
    copy = const_cast<char*>(kNoMemory);
  }
  Messages().Replace(copy);
}

void ClearLastError() noexcept { Messages().Replace(nullptr); }

std::int32_t CopyLastError(char* buffer, std::int32_t size) noexcept {
  const char* message = Messages().Current();
  if (!message) message = "";
  const std::size_t length = std::strlen(message);
  if (buffer && size > 0) {
    const std::size_t copied = CharacterBoundary(message, length, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, message, copied);
    buffer[copied] = '\0';
  }
  return static_cast<std::int32_t>(std::min<std::size_t>(length, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace brontelx
