#pragma once

#include <firebird/Interface.h>

namespace brontelx::db {

// The client library's master, provider and utility interfaces. The first call loads the client
// (client::LoadMaster); each raises DatabaseError when it cannot be loaded.
Firebird::IMaster* Master();
Firebird::IProvider* Provider();
Firebird::IUtil* Util();

// The provider when something has asked for it already, else null (nothing to shut down).
Firebird::IProvider* ProviderInUse();

}  // namespace brontelx::db
