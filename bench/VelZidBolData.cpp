#include "bench/VelZidBolData.h"

#include <algorithm>
#include <stdexcept>

#include "bench/FloorApi.h"
#include "database/DRKDBUtility.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "userdir/DRKTabX.h"
#include "validations/VelValidazPers.h"

namespace brontelx::bench {
namespace {

// Entry i (from 0): chain i/10 + 1, opened by its first entry, owned by user (i/10 mod 1000) + 1.
// Blocks of 100 000 rows keep each statement's undo log small.
void FillLog(db::Connection& archive, int rows) {
  constexpr int kBlock = 100000;
  for (int from = 0; from < rows; from += kBlock) {
    const int to = std::min(rows, from + kBlock);
    testing::ExecSqlLines(archive,
               {"EXECUTE BLOCK AS", "  DECLARE I INTEGER = " + std::to_string(from) + ";", "BEGIN",
                "  WHILE (I < " + std::to_string(to) + ") DO", "  BEGIN",
                "    INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ, DATAORA)",
                "    VALUES (:I + 1, :I / 10 + 1, IIF(MOD(:I, 10) = 0, 'APERTURA', 'B' || :I),",
                "            MOD(:I / 10, 1000) + 1, CURRENT_TIMESTAMP);", "    I = I + 1;", "  END", "END"});
  }
  for (const char* index :
       {"PK_BRONTELLOG", "BRONTELLOG_UTENTE_ID", "BRONTELLOG_DATOINPUT", "BRONTELLOG_CATENA"})
    testing::ExecSql(archive, {std::string("SET STATISTICS INDEX ") + index});
}

}  // namespace

DeliveryNotes::DeliveryNotes(const std::string& charset)
    : database_(schema::Kind::DeliveryNotes, charset), path_(database_.Path()) {
  db::Connection rux;
  OpenIBDatabase(rux, path_);
  testing::ExecSqlLines(
      rux,
      {"EXECUTE BLOCK AS", "  DECLARE I INTEGER = 0;", "BEGIN", "  WHILE (I < 1000) DO", "  BEGIN",
       "    INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('B' || :I, CURRENT_DATE, 'Cliente');",
       "    I = I + 1;", "  END", "END"});
  rux.Close();
}

std::optional<std::string> LoopbackLocation(const std::string& path) {
  if (!testing::LoopbackPort()) return std::nullopt;
  return testing::RemoteName(path);
}

void FillValidationArchive(db::Connection& archive, const std::string& ruxLocation, int logRows) {
  {
    TDRKTabX tabX;
    tabX.SetDatabase(&archive);
    tabX.SetParametroTesto("VelZidBolDBRux", ruxLocation, 0);
  }
  FillLog(archive, logRows);
}

ValidationArchive::ValidationArchive(const std::string& ruxLocation, int logRows)
    : database_(schema::Kind::Archive), path_(database_.Path()) {
  OpenIBDatabase(library_, path_);
  FillValidationArchive(library_, ruxLocation, logRows);
  const std::string result = EseguiValidazPers(library_, "VelZidBol", kLogUser, kAcceptedCode);
  if (result != "OK")
    throw std::runtime_error("the validation set-up gives \"" + result + "\" instead of OK");
  db::Status status;
  raw_ = db::FbHandle<Firebird::IAttachment>(floor::Attach(status, path_));
}

}  // namespace brontelx::bench
