#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace brontelx::db {

// Runs a function on another thread once a deadline has passed, unless the timer ends first. The
// function returns whether it is done; when it is not, it runs again shortly. Once the destructor
// has returned, the function is not running and will not run again.
//
// On Windows each timer is a thread-pool timer: no thread of the library's own lives between two
// timers, so the DLL can be unloaded (FreeLibrary) and the process can end at any moment no timer
// exists; a thread of its own would have to be joined while the loader lock is held, which never
// returns. Elsewhere one thread of the process serves every timer; it is joined when the module
// unloads.
class DeadlineTimer {
 public:
  using Clock = std::chrono::steady_clock;
  // How soon a function that is not done runs again.
  static constexpr std::chrono::milliseconds kRetry{100};

  DeadlineTimer(Clock::time_point due, std::function<bool()> onDue);
  ~DeadlineTimer();
  DeadlineTimer(const DeadlineTimer&) = delete;
  DeadlineTimer& operator=(const DeadlineTimer&) = delete;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace brontelx::db
