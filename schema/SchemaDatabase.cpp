#include "SchemaDatabase.h"

#include <firebird/Interface.h>

#include <system_error>
#include <vector>

#include "DRKDBUtility.h"
#include "DatabaseError.h"
#include "EngineDescriptors.h"
#include "FbClient.h"
#include "FbHandle.h"
#include "HostSignals.h"
#include "MessageData.h"
#include "ParamBlock.h"
#include "SchemaScripts.h"
#include "SqlScript.h"
#include "Utf8FileNames.h"

namespace brontelx::schema {
namespace {

using db::FbHandle;
using db::Status;

std::vector<unsigned char> CreationBlock(const std::string& defaultCharset) {
  db::ParamBlock dpb(Firebird::IXpbBuilder::DPB);
  dpb.AddTag(isc_dpb_utf8_filename);
  dpb.AddText(isc_dpb_user_name, kDBUserName);
  dpb.AddText(isc_dpb_password, kDBPassword);
  dpb.AddInt(isc_dpb_sql_dialect, db::kSqlDialect);
  dpb.AddText(isc_dpb_set_db_charset, defaultCharset);
  return dpb.Bytes();
}

// Runs one statement in a transaction of its own and commits it; a failure rolls it back.
void Execute(Firebird::IAttachment* attachment, const std::string& sql) {
  Status status;
  FbHandle<Firebird::ITransaction> transaction(attachment->startTransaction(&status, 0, nullptr));
  attachment->execute(&status, transaction.get(), 0, sql.c_str(), db::kSqlDialect, nullptr, nullptr, nullptr,
                      nullptr);
  transaction.EndOrKeep(status, &Firebird::ITransaction::commit<Status>);
}

}  // namespace

void CreateDatabase(const std::filesystem::path& file, Kind kind, const std::string& defaultCharset) {
  const std::vector<std::string> statements = SplitStatements(SchemaScript(kind));
  const std::vector<unsigned char> dpb = CreationBlock(defaultCharset);
  std::error_code ignored;
  const bool existed = std::filesystem::exists(file, ignored);
  Status status;
  Firebird::IAttachment* created = nullptr;
  try {
    const db::client::Utf8FileNames fileNames;
    const db::client::HostSignals hostSignals;
    const db::client::EngineDescriptors descriptors;
    created = db::Provider()->createDatabase(&status, file.string().c_str(), static_cast<unsigned>(dpb.size()),
                                             dpb.data());
  } catch (const db::DatabaseError&) {
    // Never remove a file that was there before: the engine refuses to overwrite it.
    if (!existed) std::filesystem::remove(file, ignored);
    throw;
  }
  FbHandle<Firebird::IAttachment> attachment(created);
  try {
    for (const std::string& sql : statements) Execute(attachment.get(), sql);
    attachment.EndOrKeep(status, &Firebird::IAttachment::detach<Status>);
  } catch (...) {
    // The half-made database goes: dropped through the attachment, or removed when that fails.
    if (attachment) {
      try {
        attachment.End(status, &Firebird::IAttachment::dropDatabase<Status>);
      } catch (const db::DatabaseError&) {
        std::filesystem::remove(file, ignored);
      }
    }
    throw;
  }
}

}  // namespace brontelx::schema
