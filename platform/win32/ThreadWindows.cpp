#include "ThreadWindows.h"

#include <pthread.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

namespace brontelx::platform::win32 {
namespace {

using Windows = std::vector<HWND>;

// The thread key's destructor: the thread is ending. The key's value is already null, so the
// windows' destruction below leaves the list alone; each window's last messages release its owner.
void DestroyLeftWindows(void* list) noexcept {
  const std::unique_ptr<Windows> windows(static_cast<Windows*>(list));
  for (const HWND window : *windows) {
    if (IsWindow(window)) DestroyWindow(window);
  }
}

class ThreadKey {
 public:
  ThreadKey() : usable_(pthread_key_create(&key_, DestroyLeftWindows) == 0) {}
  ~ThreadKey() {
    if (usable_) pthread_key_delete(key_);
  }
  ThreadKey(const ThreadKey&) = delete;
  ThreadKey& operator=(const ThreadKey&) = delete;

  Windows* List() const { return usable_ ? static_cast<Windows*>(pthread_getspecific(key_)) : nullptr; }

  Windows& CreateList() {
    if (!usable_) throw std::bad_alloc();
    auto list = std::make_unique<Windows>();
    if (pthread_setspecific(key_, list.get()) != 0) throw std::bad_alloc();
    return *list.release();
  }

 private:
  pthread_key_t key_{};
  bool usable_;
};

ThreadKey& Key() {
  static ThreadKey key;
  return key;
}

}  // namespace

void AddThreadWindow(HWND window) {
  Windows* list = Key().List();
  (list ? *list : Key().CreateList()).push_back(window);
}

void RemoveThreadWindow(HWND window) noexcept {
  if (Windows* list = Key().List()) list->erase(std::remove(list->begin(), list->end(), window), list->end());
}

}  // namespace brontelx::platform::win32
