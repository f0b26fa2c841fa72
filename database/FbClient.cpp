#include "FbClient.h"

#include <atomic>

#include "DatabaseError.h"

namespace brontelx::db {

Firebird::IMaster* Master() {
  static Firebird::IMaster* const master = Firebird::fb_get_master_interface();
  return master;
}

namespace {
std::atomic<bool> providerUsed{false};
}

Firebird::IProvider* Provider() {
  // The dispatcher lives as long as the process: the engine unloads at exit on its own.
  static Firebird::IProvider* const provider = Master()->getDispatcher();
  providerUsed.store(true, std::memory_order_relaxed);
  return provider;
}

Firebird::IUtil* Util() {
  static Firebird::IUtil* const util = Master()->getUtilInterface();
  return util;
}

void ShutdownClient() {
  if (!providerUsed.load()) return;
  Status status;
  Provider()->shutdown(status.Get(), 0, fb_shutrsn_app_stopped);
}

Status::Status() : status_(Master()->getStatus()), wrapper_(status_) {}

Status::~Status() { status_->dispose(); }

bool Status::Failed() const { return (status_->getState() & Firebird::IStatus::STATE_ERRORS) != 0; }

void Status::Check() {
  if (!Failed()) return;
  DatabaseError error = DatabaseError::FromStatus(status_);
  wrapper_.clearException();
  throw error;
}

}  // namespace brontelx::db
