#include "HostWindows.h"

#include <pthread.h>

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

namespace brontelx {
namespace {

using Forms = std::vector<std::unique_ptr<TFormBase>>;

// Each thread's list under a thread key without a destructor: a list is deleted when its last
// window goes, so nothing of the library runs when a thread ends, and unloading the library ties
// nothing to the threads that used it.
class ThreadForms {
 public:
  ThreadForms() : usable_(pthread_key_create(&key_, nullptr) == 0) {}
  ~ThreadForms() {
    if (usable_) pthread_key_delete(key_);
  }
  ThreadForms(const ThreadForms&) = delete;
  ThreadForms& operator=(const ThreadForms&) = delete;

  Forms* List() const noexcept { return usable_ ? static_cast<Forms*>(pthread_getspecific(key_)) : nullptr; }

  Forms& CreateList() {
    if (!usable_) throw std::bad_alloc();
    auto list = std::make_unique<Forms>();
    if (pthread_setspecific(key_, list.get()) != 0) throw std::bad_alloc();
    return *list.release();
  }

  void DeleteList() noexcept {
    const std::unique_ptr<Forms> list(List());
    if (list) pthread_setspecific(key_, nullptr);
  }

 private:
  pthread_key_t key_{};
  bool usable_;
};

ThreadForms& Threads() {
  static ThreadForms threads;
  return threads;
}

}  // namespace

HostWindows& HostWindows::Instance() {
  static HostWindows windows;
  return windows;
}

void HostWindows::Adopt(std::unique_ptr<TFormBase> Form) {
  Forms* list = Threads().List();
  Forms& forms = list ? *list : Threads().CreateList();
  try {
    forms.push_back(std::move(Form));
  } catch (...) {
    if (forms.empty()) Threads().DeleteList();
    throw;
  }
  forms.back()->SetOwner(this);
}

void HostWindows::Release(TFormBase& Form) noexcept {
  Forms* list = Threads().List();
  if (!list) return;
  const auto found = std::find_if(list->begin(), list->end(),
                                  [&](const std::unique_ptr<TFormBase>& form) { return form.get() == &Form; });
  if (found == list->end()) return;
  // Out of the list before it is destroyed: the list may change while the form goes.
  const std::unique_ptr<TFormBase> released = std::move(*found);
  list->erase(found);
  if (list->empty()) Threads().DeleteList();
}

}  // namespace brontelx
