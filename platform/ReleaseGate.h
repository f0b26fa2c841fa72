#pragma once

#include <functional>

#include "Backend.h"
#include "Window.h"

namespace brontelx::platform {

// Runs the event handlers of one window and decides when its owner is released, for every backend
// alike. A handler runs guarded: an exception that escapes it is shown in the backend's error box
// and goes no further.
//
// A close with CloseAction::Free asks for the release; the backend posts the request to its event
// loop, and when it arrives the owner is released (WindowEvents::OnRelease, which destroys the
// window and this gate with it) unless a handler or a modal loop of the window is still running:
// a handler that shows a box runs an event loop of the box's, which delivers the request while the
// handler is still on the stack. The release then waits until the last of them has returned and is
// posted again, so that it always comes from the event loop, outside every handler of the window.
// Where the backend can no longer post (its native window is gone), a request arrives at once.
class ReleaseGate {
 public:
  enum class Outcome {
    Succeeded,
    Failed,    // the handler threw; its message has been shown
    Released,  // the owner has been released meanwhile: the window, and this gate, may be gone
  };
  // Posts a call of Arrive to the backend's event loop; false when it cannot.
  using Post = std::function<bool()>;

  ReleaseGate(WindowEvents& events, Backend& backend, Post post);
  ReleaseGate(const ReleaseGate&) = delete;
  ReleaseGate& operator=(const ReleaseGate&) = delete;

  Outcome Run(const std::function<void()>& handler);
  // A modal loop of the window begins and ends. Leave returns true when the owner has been released.
  void Enter() { ++running_; }
  bool Leave();

  // Asks for the release: a close with CloseAction::Free has completed, or a request posted
  // before has gone with the native window.
  void Request();
  // The posted request has arrived.
  void Arrive();
  // A release has been asked for and not yet carried out.
  bool Requested() const { return state_ == State::Posted || state_ == State::Waiting; }

 private:
  enum class State { Open, Posted, Waiting, Released };

  // Each returns true when the owner has been released.
  bool PostRequest();
  bool ReleaseIfIdle();

  WindowEvents& events_;
  Backend& backend_;
  Post post_;
  int running_ = 0;  // handlers and modal loops of the window on the stack
  State state_ = State::Open;
};

}  // namespace brontelx::platform
