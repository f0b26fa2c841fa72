#include "database/DRKDBUtility.h"

#include <filesystem>
#include <system_error>

#include "base/Utf8Path.h"
#include "database/internal/TpbItems.h"

namespace brontelx {

const char* const kDBUserName = "SYSDBA";
const char* const kDBPassword = "quillbank";

namespace {

constexpr int kReadCommitted = 15;
constexpr int kRecVersion = 17;

}  // namespace

std::string DatiIniPath(const std::string& FileName) {
  const std::size_t cut = FileName.find_last_of("/\\:");
  return (cut == std::string::npos ? std::string() : FileName.substr(0, cut + 1)) + "dati.ini";
}

TDBConnectionInfo DescribeDatabase(const std::string& FileName) {
  TDBConnectionInfo info;
  info.FileName = FileName;
  const std::string iniName = DatiIniPath(FileName);
  std::error_code error;
  if (std::filesystem::is_regular_file(PathFromUtf8(iniName), error)) info.LoadFromIniFile(iniName, "CONFIG");
  return info;
}

TTPBFlags MakeTPBFlags(std::initializer_list<int> items) {
  TTPBFlags flags;
  for (const int item : items) flags.set(static_cast<std::size_t>(item));
  return flags;
}

void OpenIBDatabase(db::Connection& Database, const std::string& FileName) {
  OpenIBDatabase(Database, DescribeDatabase(FileName));
}

void OpenIBDatabase(db::Connection& Database, const TDBConnectionInfo& DBConnectionInfo) {
  if (Database.Connected()) Database.Close();
  Database.Params().clear();
  Database.Params().push_back(std::string("user_name=") + kDBUserName);
  Database.Params().push_back(std::string("password=") + kDBPassword);
  Database.SetDatabaseName(DBConnectionInfo.GetIBFileName());
  Database.Open();
}

void SetTransactionParams(db::Transaction& Transaction, TTPBFlags Flags) {
  for (int item = db::tpb::kFirstItem; item <= db::tpb::kLastItem; ++item) {
    if (Flags.test(static_cast<std::size_t>(item)))
      Transaction.Params().push_back("isc_tpb_" + std::string(db::tpb::ItemName(item)));
  }
}

std::unique_ptr<db::Transaction> CreateIBTransaction(db::Connection& Database, TTPBFlags Flags) {
  auto transaction = std::make_unique<db::Transaction>(&Database);
  SetTransactionParams(*transaction, Flags);
  transaction->StartTransaction();
  return transaction;
}

std::unique_ptr<db::Transaction> CreateReadCommittedTransaction(db::Connection& Database) {
  return CreateIBTransaction(Database, MakeTPBFlags({kReadCommitted, kRecVersion}));
}

}  // namespace brontelx
