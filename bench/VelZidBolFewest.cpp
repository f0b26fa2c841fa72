#include "VelZidBolFewest.h"

#include <algorithm>
#include <cstring>

#include "FbClient.h"
#include "VelZidBolFloor.h"

namespace brontelx::bench {
namespace {

constexpr unsigned kUtf8 = 4;

// A message of one nullable field of the given type, laid out by the client.
Firebird::IMessageMetadata* OneField(db::Status& status, unsigned type, unsigned length, unsigned charset) {
  Firebird::IMetadataBuilder* builder = db::Master()->getMetadataBuilder(status.Get(), 1);
  builder->setType(status.Get(), 0, type | 1);
  builder->setLength(status.Get(), 0, length);
  builder->setCharSet(status.Get(), 0, charset);
  Firebird::IMessageMetadata* metadata = builder->getMetadata(status.Get());
  builder->release();
  return metadata;
}

// COUNT(*) of the delivery note on a new attachment to `location`, in one exchange once the
// transaction has started.
std::int64_t CountDeliveryNote(db::Status& status, const std::string& location, const std::string& datum) {
  Firebird::IAttachment* rux = floor::Attach(status, location);
  Firebird::ITransaction* transaction =
      rux->startTransaction(status.Get(), sizeof floor::kReadCommittedTpb, floor::kReadCommittedTpb);
  db::FbRef<Firebird::IMessageMetadata> input(
      OneField(status, SQL_VARYING, std::max<unsigned>(1, static_cast<unsigned>(datum.size())), kUtf8));
  db::FbRef<Firebird::IMessageMetadata> output(OneField(status, SQL_INT64, sizeof(std::int64_t), 0));
  std::vector<unsigned char> in(input->getMessageLength(status.Get()), 0);
  std::vector<unsigned char> out(output->getMessageLength(status.Get()), 0);
  const auto length = static_cast<std::uint16_t>(datum.size());
  std::memcpy(in.data() + input->getOffset(status.Get(), 0), &length, sizeof length);
  std::memcpy(in.data() + input->getOffset(status.Get(), 0) + sizeof length, datum.data(), datum.size());
  rux->execute(status.Get(), transaction, 0, kBolleCount, floor::kDialect, input.get(), in.data(), output.get(),
               out.data());
  std::int64_t count = 0;
  std::memcpy(&count, out.data() + output->getOffset(status.Get(), 0), sizeof count);
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
