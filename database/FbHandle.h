#pragma once

#include <firebird/Interface.h>

#include <memory>
#include <utility>

#include "database/Status.h"

namespace brontelx::db {

// How a handle that nobody ended explicitly is let go: an attachment is detached, a transaction
// rolled back, a prepared statement freed, a cursor closed, a blob cancelled (a blob being
// written leaves no half-written value; one being read is merely let go).
inline void DefaultEnd(Firebird::IAttachment* p, Status& s) { p->detach(&s); }
inline void DefaultEnd(Firebird::ITransaction* p, Status& s) { p->rollback(&s); }
inline void DefaultEnd(Firebird::IStatement* p, Status& s) { p->free(&s); }
inline void DefaultEnd(Firebird::IResultSet* p, Status& s) { p->close(&s); }
inline void DefaultEnd(Firebird::IBlob* p, Status& s) { p->cancel(&s); }

// Owns an attachment, transaction, statement, cursor or blob. In Firebird 3 ending such an
// interface (detach, commit, rollback, free, close, cancel) also releases it when the end succeeds;
// after a failed end it is still held and must be released. This type is the one place that rule
// is written:
// - End(status, &IBlob::close<Status>): the handle is gone afterwards either way; the error of a
//   failed end propagates.
// - EndOrKeep(status, &ITransaction::commit<Status>): a failed end keeps the handle (a transaction
//   whose commit failed is still active and can be rolled back).
// - destruction or Drop(): the default end, errors swallowed.
template <typename T>
class FbHandle {
 public:
  FbHandle() = default;
  explicit FbHandle(T* p) : p_(p) {}

  T* get() const { return p_.get(); }
  T* operator->() const { return p_.get(); }
  explicit operator bool() const { return p_ != nullptr; }

  template <typename Method>
  void End(Status& status, Method end) {
    T* p = p_.release();
    try {
      (p->*end)(&status);
    } catch (...) {
      p->release();
      throw;
    }
  }

  template <typename Method>
  void EndOrKeep(Status& status, Method end) {
    (p_.get()->*end)(&status);
    static_cast<void>(p_.release());
  }

  void Drop() noexcept { p_.reset(); }

 private:
  struct Dropper {
    void operator()(T* p) const noexcept {
      try {
        Status status;
        DefaultEnd(p, status);
        return;
      } catch (...) {
        // Ending failed (a lost connection, for example): the interface is still held.
      }
      p->release();
    }
  };
  std::unique_ptr<T, Dropper> p_;
};

}  // namespace brontelx::db
