#include "host/Interrupt.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace brontelx::cli {
namespace {

struct State {
  std::recursive_mutex mutex;
  std::list<std::function<void()>> undo;
};

// Never destroyed: the watcher may need it while the program's static objects are torn down.
State& Shared() {
  static State* const state = new State;
  return *state;
}

sigset_t EndingSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

[[noreturn]] void EndBy(int signal) {
  static const char message[] = "brontelx: interrupted\n";
  [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
  // The default action of the signal ends the process, whatever handler is in place.
  ::signal(signal, SIG_DFL);
  sigset_t one;
  sigemptyset(&one);
  sigaddset(&one, signal);
  pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
  raise(signal);
  _exit(128 + signal);
}

void Watch(sigset_t signals) {
  int signal = 0;
  while (sigwait(&signals, &signal) != 0) {
  }
  State& state = Shared();
  state.mutex.lock();  // held to the end: no undo step is added or removed any more
  for (const auto& undo : state.undo) undo();
  EndBy(signal);
}

}  // namespace

void EndOnSignal() {
  const sigset_t signals = EndingSignals();
  if (const int error = pthread_sigmask(SIG_BLOCK, &signals, nullptr))
    throw std::system_error(error, std::generic_category(), "cannot block the ending signals");
  Shared();
  std::thread(Watch, signals).detach();
}

OnInterrupt::OnInterrupt(std::function<void()> undo) {
  State& state = Shared();
  std::lock_guard lock(state.mutex);
  entry_ = state.undo.insert(state.undo.end(), std::move(undo));
}

OnInterrupt::~OnInterrupt() {
  State& state = Shared();
  std::lock_guard lock(state.mutex);
  state.undo.erase(entry_);
}

Uninterruptible::Uninterruptible() : lock_(Shared().mutex) {}

}  // namespace brontelx::cli
