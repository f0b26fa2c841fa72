#include "SchemaDatabase.h"

#include <firebird/Interface.h>

#include <memory>
#include <system_error>
#include <vector>

#include "DatabaseError.h"
#include "FbClient.h"
#include "SchemaScripts.h"
#include "SqlScript.h"

namespace brontelx::schema {
namespace {

using db::Status;

struct BuilderDisposer {
  void operator()(Firebird::IXpbBuilder* builder) const { builder->dispose(); }
};
using Dpb = std::unique_ptr<Firebird::IXpbBuilder, BuilderDisposer>;

Dpb MakeDpb(const std::string& defaultCharset) {
  Status status;
  Dpb dpb(db::Util()->getXpbBuilder(status.Get(), Firebird::IXpbBuilder::DPB, nullptr, 0));
  status.Check();
  dpb->insertString(status.Get(), isc_dpb_user_name, "SYSDBA");
  status.Check();
  dpb->insertString(status.Get(), isc_dpb_password, "quillbank");
  status.Check();
  dpb->insertInt(status.Get(), isc_dpb_sql_dialect, 3);
  status.Check();
  dpb->insertString(status.Get(), isc_dpb_set_db_charset, defaultCharset.c_str());
  status.Check();
  return dpb;
}

// Runs one statement in a transaction of its own and commits it.
void Execute(Firebird::IAttachment* attachment, const std::string& sql) {
  Status status;
  Firebird::ITransaction* transaction = attachment->startTransaction(status.Get(), 0, nullptr);
  status.Check();
  attachment->execute(status.Get(), transaction, 0, sql.c_str(), 3, nullptr, nullptr, nullptr, nullptr);
  if (!status.Failed()) transaction->commit(status.Get());
  if (status.Failed()) {
    // Still held: the statement or the commit failed.
    Status rollback;
    transaction->rollback(rollback.Get());
    if (rollback.Failed()) transaction->release();
    status.Check();
  }
}

}  // namespace

void CreateDatabase(const std::filesystem::path& file, Kind kind, const std::string& defaultCharset) {
  const std::vector<std::string> statements = SplitStatements(SchemaScript(kind));
  const Dpb dpb = MakeDpb(defaultCharset);
  Status status;
  const unsigned dpbLength = dpb->getBufferLength(status.Get());
  status.Check();
  const unsigned char* dpbBuffer = dpb->getBuffer(status.Get());
  status.Check();

  std::error_code ignored;
  const bool existed = std::filesystem::exists(file, ignored);
  Firebird::IAttachment* attachment =
      db::Provider()->createDatabase(status.Get(), file.string().c_str(), dpbLength, dpbBuffer);
  if (status.Failed()) {
    // Never remove a file that was there before: the engine refuses to overwrite it.
    if (!existed) std::filesystem::remove(file, ignored);
    status.Check();
  }
  try {
    for (const std::string& sql : statements) Execute(attachment, sql);
    attachment->detach(status.Get());
    status.Check();
  } catch (...) {
    Status drop;
    attachment->dropDatabase(drop.Get());
    if (drop.Failed()) {
      attachment->release();
      std::filesystem::remove(file, ignored);
    }
    throw;
  }
}

}  // namespace brontelx::schema
