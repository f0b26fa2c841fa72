#pragma once

#include <functional>
#include <string>

#include "platform/Backend.h"
#include "platform/Window.h"

namespace brontelx::platform {

// Runs the event handlers of one window and carries out the contract of WindowEvents for every
// backend alike: the backend reports what happens to its window (a click, a close asked for, the
// native window going, a modal loop, the arrival of a posted request) and the gate decides which
// handler runs and when the owner is released. A handler runs guarded: an exception that escapes it
// is shown in the backend's error box and goes no further.
//
// A close with CloseAction::Free asks for the release, which the backend posts to its event loop.
// When the request arrives while a handler or a modal loop of the window is still on the stack (a
// handler that shows a box runs the box's event loop, which delivers posted requests), the release
// waits until the last of them has returned and is posted again, so that OnRelease always comes
// from the event loop, outside every handler of the window. The gate never destroys anything
// itself: OnRelease is where the owner destroys the window, and the gate with it.
class ReleaseGate {
 public:
  // Posts a call of Arrive to the backend's event loop. It cannot fail: a backend that may lose the
  // message keeps the request (Pending) and delivers it later.
  using Post = std::function<void()>;

  ReleaseGate(WindowEvents& events, Backend& backend, Post post);
  ReleaseGate(const ReleaseGate&) = delete;
  ReleaseGate& operator=(const ReleaseGate&) = delete;

  void Click(const std::string& handler);
  // A close asked for by the user or a program. Returns false when the close handler kept the
  // window open; true when the window closes (hidden, or freed and its release requested). Once a
  // close has freed the window, later ones only return true.
  bool Close();
  // The native window is being destroyed by something other than its owner. Unless a close has
  // already freed it, the close handler runs now and decides whether the owner is released; it
  // cannot keep the window.
  void NativeWindowGoing();
  // A modal loop of the window begins and ends.
  void Enter() { ++running_; }
  void Leave();
  // The posted request has arrived.
  void Arrive();
  // A request has been posted and has not arrived yet.
  bool Pending() const { return state_ == State::Posted; }

 private:
  enum class State { Open, Posted, Waiting, Released };
  enum class Event { Request, ArriveBusy, ArriveIdle, Idle };
  enum class Action { None, Post, Release };

  bool Run(const std::function<void()>& handler);
  // Runs the close handler; a Free close requests the release. `refusable`: a handler that throws
  // keeps the window open (returns false).
  bool RunClose(bool refusable);
  void On(Event event);

  WindowEvents& events_;
  Backend& backend_;
  Post post_;
  int running_ = 0;  // handlers and modal loops of the window on the stack
  State state_ = State::Open;
};

}  // namespace brontelx::platform
