#include "tests/validations/VelZidBolFixture.h"

#include "database/DRKDBUtility.h"
#include "database/TransactedStatement.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/Sql.h"
#include "userdir/DRKTabX.h"
#include "validations/VelValidazPers.h"

namespace brontelx::testing {

void VelZidBolFixture::SetUp() {
  OpenIBDatabase(archive, archiveOverServer ? RemoteName(archiveFile.Path()) : archiveFile.Path());
  SetLocation(ruxFile.Path());
}

void VelZidBolFixture::SetLocation(const std::string& location) {
  TDRKTabX tabX;
  tabX.SetDatabase(&archive);
  tabX.SetParametroTesto("VelZidBolDBRux", location, 0);
}

void VelZidBolFixture::AddDeliveryNote(const std::string& code) {
  db::Connection rux;
  OpenIBDatabase(rux, ruxFile.Path());
  db::TransactedStatement insert(rux, {}, db::TransactedStatement::End::Commit, true);
  insert.Query().SetSQL({"INSERT INTO BOLLE (BOL_COD, BOL_DATA) VALUES (:COD, CURRENT_DATE)"});
  insert.Query().ParamByName("COD").SetString(code);
  insert.Query().ExecQuery();
  insert.Finish();
}

void VelZidBolFixture::Log(std::int32_t user, std::int64_t chain, const std::string& datum) {
  db::TransactedStatement insert(archive, {}, db::TransactedStatement::End::Commit, true);
  insert.Query().SetSQL({"INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ, DATAORA)",
                         "VALUES (:ID, :CATENA, :DATO, :UTENTE, CURRENT_TIMESTAMP)"});
  insert.Query().ParamByName("ID").SetInt(nextLogId++);
  if (chain < 0) {
    insert.Query().ParamByName("CATENA").SetNull();
  } else {
    insert.Query().ParamByName("CATENA").SetInt(chain);
  }
  insert.Query().ParamByName("DATO").SetString(datum);
  insert.Query().ParamByName("UTENTE").SetInt(user);
  insert.Query().ExecQuery();
  insert.Finish();
}

std::string VelZidBolFixture::Run(std::int32_t user, const std::string& datum, const std::string& name) {
  return EseguiValidazPers(archive, name, user, datum);
}

}  // namespace brontelx::testing
