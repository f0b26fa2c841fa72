#include "database/internal/DatabaseCharset.h"

#include <cstdint>
#include <vector>

#include "database/FbClient.h"
#include "database/FbRef.h"
#include "database/Status.h"
#include "database/internal/MessageData.h"

namespace brontelx::db {
namespace {

constexpr char kQuery[] = "SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE";
// The column holds at most 63 characters; the server converts them to UTF-8 for us.
constexpr unsigned kNameBytes = 63 * 4;
constexpr unsigned kUtf8 = 4;

}  // namespace

std::string ReadDefaultCharset(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction) {
  // No connection for the status: its messages would be decoded with the very set being read.
  Status status;
  const FbRef<Firebird::IMetadataBuilder> builder(Master()->getMetadataBuilder(&status, 1));
  builder->setType(&status, 0, SQL_VARYING | 1);
  builder->setLength(&status, 0, kNameBytes);
  builder->setCharSet(&status, 0, kUtf8);
  const FbRef<Firebird::IMessageMetadata> output(builder->getMetadata(&status));
  std::vector<unsigned char> row(output->getMessageLength(&status), 0);
  const unsigned offset = output->getOffset(&status, 0);
  const unsigned nullOffset = output->getNullOffset(&status, 0);
  attachment->execute(&status, transaction, 0, kQuery, kSqlDialect, nullptr, nullptr, output.get(),
                      row.data());
  if (Load<std::int16_t>(row.data() + nullOffset) != 0) return {};
  return std::string(reinterpret_cast<const char*>(row.data() + offset + sizeof(std::uint16_t)),
                     Load<std::uint16_t>(row.data() + offset));
}

}  // namespace brontelx::db
