#include "base/DeadlineTimer.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "base/HostSignals.h"

namespace brontelx::db {

struct DeadlineTimer::State {
  Clock::time_point due;
  std::function<bool()> onDue;
};

namespace {

// The timers that are set and the thread that runs their functions when they are due. The thread
// starts with the first timer and is joined when the module unloads.
class Watchdog {
 public:
  static Watchdog& Instance() {
    static Watchdog watchdog;
    return watchdog;
  }

  void Add(DeadlineTimer::State* timer) {
    const std::lock_guard lock(mutex_);
    if (!thread_.joinable()) {
      // The watchdog takes none of the host's signals.
      const client::HostSignals hostSignals;
      thread_ = std::thread([this] { Run(); });
    }
    timers_.push_back(timer);
    // The thread sleeps until wakeAt_, no later than any timer that is set; a timer due later
    // leaves it asleep. Waking it for every timer cost each exchange two thread switches.
    if (timer->due < wakeAt_) {
      wakeAt_ = timer->due;
      wake_.notify_one();
    }
  }

  // Under the lock: a function under way ends before its timer is gone.
  void Remove(DeadlineTimer::State* timer) {
    const std::lock_guard lock(mutex_);
    std::erase(timers_, timer);
  }

  ~Watchdog() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      const auto next = std::min_element(timers_.begin(), timers_.end(),
                                         [](const auto* a, const auto* b) { return a->due < b->due; });
      if (next == timers_.end()) {
        wakeAt_ = DeadlineTimer::Clock::time_point::max();
        wake_.wait(lock);
        continue;
      }
      DeadlineTimer::State& timer = **next;
      if (timer.due > DeadlineTimer::Clock::now()) {
        // A copy: the timer may be gone when the wait ends.
        const auto due = timer.due;
        wakeAt_ = due;
        wake_.wait_until(lock, due);
        continue;
      }
      timer.due = timer.onDue() ? DeadlineTimer::Clock::time_point::max()
                                : DeadlineTimer::Clock::now() + DeadlineTimer::kRetry;
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<DeadlineTimer::State*> timers_;
  DeadlineTimer::Clock::time_point wakeAt_ = DeadlineTimer::Clock::time_point::max();  // when the thread wakes on its own
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

DeadlineTimer::DeadlineTimer(Clock::time_point due, std::function<bool()> onDue)
    : state_(std::make_unique<State>(State{due, std::move(onDue)})) {
  Watchdog::Instance().Add(state_.get());
}

DeadlineTimer::~DeadlineTimer() { Watchdog::Instance().Remove(state_.get()); }

}  // namespace brontelx::db
