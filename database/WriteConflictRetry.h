#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <thread>

#include "database/DatabaseError.h"

namespace brontelx::db {

// How a write that met another transaction's write of the same row (DatabaseError::IsWriteConflict)
// is tried again, each time in a transaction of its own. The default tries nothing again.
struct WriteConflictPolicy {
  // Another attempt starts only this long after the first one began.
  std::chrono::milliseconds retryFor{0};
  // The wait before each further attempt.
  std::chrono::milliseconds pause{0};
  // A conflict that names no transaction, or the same one as the attempt before, means a row held
  // for good (the engine words a lock wait that timed out as a conflict): the write fails then.
  bool newHolderOnly = false;
};

// Runs `attempt` (one whole transaction) and runs it again after a write conflict as `policy` says;
// the last error propagates, as does every other error.
template <typename Attempt>
void RetryOnWriteConflict(const WriteConflictPolicy& policy, Attempt&& attempt) {
  const auto start = std::chrono::steady_clock::now();
  std::optional<std::int64_t> lastHolder;
  for (;;) {
    try {
      attempt();
      return;
    } catch (const DatabaseError& e) {
      if (!e.IsWriteConflict()) throw;
      const std::optional<std::int64_t> holder = e.ConcurrentTransaction();
      if (policy.newHolderOnly && (!holder || holder == lastHolder)) throw;
      if (std::chrono::steady_clock::now() + policy.pause - start >= policy.retryFor) throw;
      lastHolder = holder;
    }
    std::this_thread::sleep_for(policy.pause);
  }
}

}  // namespace brontelx::db
