#include "database/ClientShutdown.h"

#include "database/FbClient.h"
#include "database/Status.h"

namespace brontelx::db {

void ShutdownClient() {
  Firebird::IProvider* provider = ProviderInUse();
  if (!provider) return;
  Status status;
  provider->shutdown(&status, 0, fb_shutrsn_app_stopped);
}

}  // namespace brontelx::db
