#include "ReleaseGate.h"

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

// Takes its arguments by reference, not from the gate: the handler may release the owner, which
// destroys the gate.
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

ReleaseGate::Outcome ReleaseGate::Run(const std::function<void()>& handler) {
  ++running_;
  const bool succeeded = Guarded(handler, backend_);
  if (Leave()) return Outcome::Released;
  return succeeded ? Outcome::Succeeded : Outcome::Failed;
}

bool ReleaseGate::Leave() {
  if (--running_ > 0 || state_ != State::Waiting) return false;
  return PostRequest();
}

void ReleaseGate::Request() { PostRequest(); }

void ReleaseGate::Arrive() { ReleaseIfIdle(); }

bool ReleaseGate::PostRequest() {
  state_ = State::Posted;
  return !post_() && ReleaseIfIdle();
}

bool ReleaseGate::ReleaseIfIdle() {
  if (state_ != State::Posted) return false;
  if (running_ > 0) {
    state_ = State::Waiting;
    return false;
  }
  state_ = State::Released;
  WindowEvents& events = events_;
  Guarded([&events] { events.OnRelease(); }, backend_);
  return true;
}

}  // namespace brontelx::platform
