#include "platform/ReleaseGate.h"

#include <exception>
#include <utility>

namespace brontelx::platform {
namespace {

void Show(Backend& backend, const char* message) noexcept {
  try {
    backend.ShowError(message);
  } catch (...) {
    // A box that fails to show has nowhere left to report to; the window goes on.
  }
}

bool Guarded(const std::function<void()>& handler, Backend& backend) noexcept {
  try {
    handler();
    return true;
  } catch (const std::exception& e) {
    Show(backend, e.what());
  } catch (...) {
    Show(backend, "Errore sconosciuto");
  }
  return false;
}

}  // namespace

ReleaseGate::ReleaseGate(WindowEvents& events, Backend& backend, Post post)
    : events_(events), backend_(backend), post_(std::move(post)) {}

void ReleaseGate::On(Event event) {
  struct Step {
    State next;
    Action action;
  };
  // One row per state, one column per event: Request, ArriveBusy, ArriveIdle, Idle.
  static constexpr Step kSteps[4][4] = {
      /* Open     */ {{State::Posted, Action::Post}, {State::Open, Action::None}, {State::Open, Action::None},
                      {State::Open, Action::None}},
      /* Posted   */ {{State::Posted, Action::None}, {State::Waiting, Action::None},
                      {State::Released, Action::Release}, {State::Posted, Action::None}},
      /* Waiting  */ {{State::Waiting, Action::None}, {State::Waiting, Action::None},
                      {State::Waiting, Action::None}, {State::Posted, Action::Post}},
      /* Released */ {{State::Released, Action::None}, {State::Released, Action::None},
                      {State::Released, Action::None}, {State::Released, Action::None}},
  };
  const Step step = kSteps[static_cast<int>(state_)][static_cast<int>(event)];
  state_ = step.next;
  switch (step.action) {
    case Action::None:
      break;
    case Action::Post:
      post_();
      break;
    case Action::Release: {
      // The owner destroys the window, and this gate with it: nothing of the gate is used after.
      WindowEvents& events = events_;
      Guarded([&events] { events.OnRelease(); }, backend_);
      break;
    }
  }
}

bool ReleaseGate::Run(const std::function<void()>& handler) {
  // No release happens while a handler runs (the table releases only on an arrival when idle), so
  // the gate is whole when the handler returns.
  ++running_;
  const bool succeeded = Guarded(handler, backend_);
  Leave();
  return succeeded;
}

void ReleaseGate::Leave() {
  if (--running_ == 0) On(Event::Idle);
}

void ReleaseGate::Click(const std::string& handler) {
  Run([&] { events_.OnClick(handler); });
}

bool ReleaseGate::RunClose(bool refusable) {
  CloseAction action = CloseAction::Hide;
  const bool succeeded = Run([&] { events_.OnClose(action); });
  if (!succeeded && refusable) return false;
  if (action == CloseAction::Free) On(Event::Request);
  return true;
}

bool ReleaseGate::Close() { return state_ != State::Open || RunClose(true); }

void ReleaseGate::NativeWindowGoing() {
  if (state_ == State::Open) RunClose(false);
}

void ReleaseGate::Arrive() { On(running_ > 0 ? Event::ArriveBusy : Event::ArriveIdle); }

}  // namespace brontelx::platform
