#include "database/FbClient.h"

#include <atomic>

#include "base/EngineDescriptors.h"
#include "base/HostSignals.h"
#include "database/ClientLibrary.h"

namespace brontelx::db {
namespace {
std::atomic<Firebird::IProvider*> providerInUse{nullptr};
}

Firebird::IMaster* Master() {
  static Firebird::IMaster* const master = [] {
    // The client may start threads as it loads; they must not take the host's signals.
    const client::HostSignals hostSignals;
    const client::EngineDescriptors descriptors;
    return client::LoadMaster();
  }();
  return master;
}

Firebird::IProvider* Provider() {
  // The dispatcher lives as long as the process: the engine unloads at exit on its own.
  static Firebird::IProvider* const provider = Master()->getDispatcher();
  providerInUse.store(provider, std::memory_order_relaxed);
  return provider;
}

Firebird::IProvider* ProviderInUse() { return providerInUse.load(); }

Firebird::IUtil* Util() {
  static Firebird::IUtil* const util = Master()->getUtilInterface();
  return util;
}

}  // namespace brontelx::db
