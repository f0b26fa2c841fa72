#pragma once

#include <functional>
#include <list>
#include <mutex>

namespace brontelx::cli {

// Makes Ctrl-C (SIGINT), SIGTERM and SIGHUP end the program at once, also while a database call
// waits for a server that never answers, which no handler on the calling thread could cut short.
// The signals are blocked in every thread and taken by one watcher thread, which runs the
// registered undo steps, says so on standard error and ends the process by the same signal (the
// shell sees 130 for Ctrl-C).
// Call it first in main, before any other thread exists: threads inherit the blocked signals.
void EndOnSignal();

// While alive, `undo` runs when a signal ends the program (say, removing files half built). It runs
// on the watcher thread and must not throw.
class OnInterrupt {
 public:
  explicit OnInterrupt(std::function<void()> undo);
  ~OnInterrupt();
  OnInterrupt(const OnInterrupt&) = delete;
  OnInterrupt& operator=(const OnInterrupt&) = delete;

 private:
  std::list<std::function<void()>>::iterator entry_;
};

// While alive, a signal waits: the program ends only once the section is left, so a short series of
// steps that must not stop halfway (moving files into place) completes.
class Uninterruptible {
 public:
  Uninterruptible();
  Uninterruptible(const Uninterruptible&) = delete;
  Uninterruptible& operator=(const Uninterruptible&) = delete;

 private:
  std::unique_lock<std::recursive_mutex> lock_;
};

}  // namespace brontelx::cli
