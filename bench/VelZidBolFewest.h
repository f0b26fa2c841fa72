#pragma once

#include <cstdint>
#include <string>

#include "bench/FloorApi.h"

namespace brontelx::bench {

// VelZidBol with the fewest round trips the Firebird 3 client API allows for the same statements
// and results: as the floor on the archive, and on the delivery-note database the attach, the
// transaction start, the count run with IAttachment::execute (prepare, execution and the single
// row in one exchange, with the message layouts given by the client instead of described by the
// server), the rollback and the detach.
std::string FewestVelZidBol(db::Status& status, Firebird::IAttachment* archive, std::int32_t user,
                            const std::string& datum);

}  // namespace brontelx::bench
