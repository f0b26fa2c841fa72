#include "tests/support/ValidationFixture.h"

#include "database/DRKDBUtility.h"
#include "tests/support/Sql.h"
#include "userdir/DRKTabX.h"

namespace brontelx::testing {

void ValidationFixture::SetUp() {
  FormsFixture::SetUp();
  ruxLocation = ruxFile.Path();
  SetLocation(ruxLocation);
}

void ValidationFixture::SetLocation(const std::string& location) {
  TDRKTabX tabX;
  tabX.SetDatabase(&archive);
  tabX.SetParametroTesto("VelZidBolDBRux", location, 0);
}

void ValidationFixture::AddDeliveryNote(const std::string& code) {
  db::Connection rux;
  OpenIBDatabase(rux, ruxLocation);
  ExecSql(rux, "INSERT INTO BOLLE (BOL_COD) VALUES ('" + code + "')");
}

void ValidationFixture::Log(int id, int chain, int user, const std::string& datum) {
  ExecSql(archive, "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (" +
                       std::to_string(id) + ", " + std::to_string(chain) + ", '" + datum + "', " +
                       std::to_string(user) + ")");
}

std::string ValidationFixture::StoredLocation() {
  const std::string rows = QueryText(archive, "SELECT COUNT(*) FROM TABX WHERE NOME = 'VelZidBolDBRux'");
  if (rows == "0") return "<none>";
  return QueryText(archive, "SELECT TESTO FROM TABX WHERE NOME = 'VelZidBolDBRux' AND UTENTE IS NULL");
}

}  // namespace brontelx::testing
