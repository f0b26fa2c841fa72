#include "bench/VelZidBolFewest.h"

#include "bench/VelZidBolFloor.h"

namespace brontelx::bench {
namespace {

// COUNT(*) of the delivery note on a new attachment to `location`, in one exchange once the
// transaction has started.
std::int64_t CountDeliveryNote(db::Status& status, const std::string& location, const std::string& datum) {
  Firebird::IAttachment* rux = floor::Attach(status, location);
  Firebird::ITransaction* transaction =
      rux->startTransaction(status.Get(), sizeof floor::kReadCommittedTpb, floor::kReadCommittedTpb);
  const std::int64_t count = floor::ExecuteCount(status, rux, transaction, kBolleCount, datum);
  transaction->rollback(status.Get());
  rux->detach(status.Get());
  return count;
}

}  // namespace

std::string FewestVelZidBol(db::Status& status, Firebird::IAttachment* archive, std::int32_t user,
                            const std::string& datum) {
  return FloorVelZidBol(status, archive, user, datum, [&](const std::string& location) {
    return CountDeliveryNote(status, location, datum);
  });
}

}  // namespace brontelx::bench
