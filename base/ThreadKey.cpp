#include "base/ThreadKey.h"

namespace brontelx {

ThreadKey::ThreadKey(AtThreadEnd atThreadEnd) noexcept : usable_(pthread_key_create(&key_, atThreadEnd) == 0) {}

ThreadKey::~ThreadKey() {
  if (usable_) pthread_key_delete(key_);
}

void* ThreadKey::Get() const noexcept { return usable_ ? pthread_getspecific(key_) : nullptr; }

bool ThreadKey::Set(void* value) const noexcept { return usable_ && pthread_setspecific(key_, value) == 0; }

}  // namespace brontelx
