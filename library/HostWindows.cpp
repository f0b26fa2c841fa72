#include "library/HostWindows.h"

#include <algorithm>
#include <new>
#include <utility>
#include <vector>

#include "base/ThreadKey.h"

namespace brontelx {
namespace {

using Forms = std::vector<std::unique_ptr<TFormBase>>;

// Each thread's list under a thread key without a function at thread end: a list is deleted when
// its last window goes, so nothing of the library runs when a thread ends.
class ThreadForms {
 public:
  Forms* List() const noexcept { return static_cast<Forms*>(key_.Get()); }

  Forms& CreateList() {
    auto list = std::make_unique<Forms>();
    if (!key_.Set(list.get())) throw std::bad_alloc();
    return *list.release();
  }

  void DeleteList() noexcept {
    const std::unique_ptr<Forms> list(List());
    if (list) key_.Set(nullptr);
  }

 private:
  ThreadKey key_;
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
