#include "base/DeadlineTimer.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <system_error>

namespace brontelx::db {

struct DeadlineTimer::State {
  std::function<bool()> onDue;
  PTP_TIMER timer = nullptr;
  std::atomic<bool> ending{false};
};

namespace {

void Arm(PTP_TIMER timer, DeadlineTimer::Clock::time_point due) {
  // A negative due time is relative, in units of 100 ns.
  const auto wait = std::chrono::duration_cast<std::chrono::nanoseconds>(due - DeadlineTimer::Clock::now());
  const LONGLONG units = -std::max<LONGLONG>(1, wait.count() / 100);
  ULARGE_INTEGER value;
  value.QuadPart = static_cast<ULONGLONG>(units);
  FILETIME time{value.LowPart, value.HighPart};
  SetThreadpoolTimer(timer, &time, 0, 0);
}

VOID CALLBACK Fire(PTP_CALLBACK_INSTANCE, PVOID context, PTP_TIMER timer) {
  auto* state = static_cast<DeadlineTimer::State*>(context);
  if (!state->onDue() && !state->ending.load()) Arm(timer, DeadlineTimer::Clock::now() + DeadlineTimer::kRetry);
}

// Stops the timer and waits for a callback under way; a callback that re-armed the timer just
// before `ending` was set is caught by the second round.
void Stop(DeadlineTimer::State& state) {
  state.ending.store(true);
  for (int round = 0; round < 2; ++round) {
    SetThreadpoolTimer(state.timer, nullptr, 0, 0);
    WaitForThreadpoolTimerCallbacks(state.timer, TRUE);
  }
}

}  // namespace

DeadlineTimer::DeadlineTimer(Clock::time_point due, std::function<bool()> onDue)
    : state_(std::make_unique<State>()) {
  state_->onDue = std::move(onDue);
  state_->timer = CreateThreadpoolTimer(Fire, state_.get(), nullptr);
  if (!state_->timer) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "The response deadline cannot be set");
  }
  Arm(state_->timer, due);
}

DeadlineTimer::~DeadlineTimer() {
  Stop(*state_);
  CloseThreadpoolTimer(state_->timer);
}

}  // namespace brontelx::db
