#include "base/HostSignals.h"

#include <pthread.h>
#include <signal.h>

#include <cstring>
#include <vector>

namespace brontelx::db::client {
namespace {

// The signals a program may handle: the classic ones and the real-time range. glibc keeps the
// numbers between them for itself.
const std::vector<int>& ProgramSignals() {
  static const std::vector<int> numbers = [] {
    std::vector<int> result;
    for (int number = 1; number < 32; ++number) {
      if (number != SIGKILL && number != SIGSTOP) result.push_back(number);
    }
    for (int number = SIGRTMIN; number <= SIGRTMAX; ++number) result.push_back(number);
    return result;
  }();
  return numbers;
}

// Every signal but those the system sends to a thread for a fault of its own, which cannot wait.
sigset_t AsynchronousSignals() {
  sigset_t set;
  sigfillset(&set);
  for (const int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGSYS, SIGABRT}) sigdelset(&set, fault);
  return set;
}

// Compares only the part of the masks the kernel fills: glibc's sigset_t is larger, and sigaction
// leaves the rest as it found it (stack bytes), so comparing the whole sets found nearly every
// disposition changed and set all of them again at every attach.
bool SameDisposition(const struct sigaction& a, const struct sigaction& b) {
  constexpr std::size_t kKernelMaskBytes = (_NSIG - 1) / 8;
  static_assert(kKernelMaskBytes <= sizeof(sigset_t));
  return a.sa_handler == b.sa_handler && a.sa_flags == b.sa_flags &&
         std::memcmp(&a.sa_mask, &b.sa_mask, kKernelMaskBytes) == 0;
}

}  // namespace

struct HostSignals::Saved {
  struct Entry {
    int number;
    struct sigaction action;
  };
  std::vector<Entry> dispositions;
  sigset_t mask;
};

HostSignals::HostSignals() : saved_(std::make_unique<Saved>()) {
  saved_->dispositions.reserve(ProgramSignals().size());
  for (const int number : ProgramSignals()) {
    Saved::Entry entry{number, {}};
    if (sigaction(number, nullptr, &entry.action) == 0) saved_->dispositions.push_back(entry);
  }
  static const sigset_t blocked = AsynchronousSignals();
  pthread_sigmask(SIG_BLOCK, &blocked, &saved_->mask);
}

HostSignals::~HostSignals() {
  // The host's dispositions first, so that a signal that waited meets them when it is unblocked.
  for (const Saved::Entry& entry : saved_->dispositions) {
    struct sigaction now {};
    if (sigaction(entry.number, nullptr, &now) == 0 && !SameDisposition(now, entry.action))
      sigaction(entry.number, &entry.action, nullptr);
  }
  pthread_sigmask(SIG_SETMASK, &saved_->mask, nullptr);
}

}  // namespace brontelx::db::client
