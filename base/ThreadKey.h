#pragma once

#include <pthread.h>

namespace brontelx {

// One pointer per thread under a POSIX thread key, with an optional function the system calls with a
// thread's pointer when that thread ends. The MinGW build serves the key from inside the module
// itself: unlike a thread_local with a destructor, it ties nothing of the module's unloading to the
// threads that used it. Deleting the key (when the module unloads) runs no thread's function.
// winpthreads calls the function also with null, for a thread that set its pointer back to null.
class ThreadKey {
 public:
  using AtThreadEnd = void (*)(void*);

  explicit ThreadKey(AtThreadEnd atThreadEnd = nullptr) noexcept;
  // When the system has no key to give, every Get is null and every Set fails.
  ~ThreadKey();
  ThreadKey(const ThreadKey&) = delete;
  ThreadKey& operator=(const ThreadKey&) = delete;

  // The calling thread's pointer, null until it sets one.
  void* Get() const noexcept;
  // Sets the calling thread's pointer; false when the key is unusable or the system lacks memory.
  bool Set(void* value) const noexcept;

 private:
  pthread_key_t key_{};
  bool usable_;
};

}  // namespace brontelx
