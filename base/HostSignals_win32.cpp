#include "base/HostSignals.h"

namespace brontelx::db::client {

// The Windows client takes no signal of the process: nothing to keep.
struct HostSignals::Saved {};

HostSignals::HostSignals() = default;
HostSignals::~HostSignals() = default;

}  // namespace brontelx::db::client
