#pragma once

#include <memory>

// While alive, the Firebird client cannot take the process's signals: when it ends, every signal
// disposition that changed meanwhile is put back as it was, and the threads the client started
// meanwhile never receive the signals a host handles. Loading the client, every attach and every
// database creation run inside one.
//
// POSIX: at its first attach the client takes SIGINT and SIGTERM (even from a process that ignores
// them) to shut down every attachment of the process instead of letting it end, so a host stopped
// by Ctrl-C or SIGTERM would keep running with dead windows. And a signal handled by one of the
// engine's own threads interrupts its waits, after which closing an attachment can hang. The
// calling thread therefore blocks every signal but those that report a fault of the thread itself
// while the client works, and the threads it creates inherit that mask; a signal that arrives
// meanwhile waits and is delivered, as the host disposes, once the guard has ended. glibc's own
// internal signals are left alone.
// Windows: the client takes no signal; nothing to keep.
namespace brontelx::db::client {

class HostSignals {
 public:
  HostSignals();
  ~HostSignals();
  HostSignals(const HostSignals&) = delete;
  HostSignals& operator=(const HostSignals&) = delete;

 private:
  struct Saved;
  std::unique_ptr<Saved> saved_;  // the dispositions and the thread's mask before (POSIX)
};

}  // namespace brontelx::db::client
