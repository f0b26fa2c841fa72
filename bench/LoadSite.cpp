#include "bench/LoadSite.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

#include "bench/VelZidBolData.h"
#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "schema/SchemaDatabase.h"
#include "tests/support/Sql.h"

namespace brontelx::bench {
namespace {

namespace fs = std::filesystem;

std::string Remote(int port, const fs::path& file) { return "127.0.0.1/" + std::to_string(port) + ":" + file.string(); }

}  // namespace

LoadSite::LoadSite(int port, const fs::path& hostFolder, int users) {
  const fs::path usersFile = folder_.Path() / "user.fdb";
  const fs::path archiveFile = folder_.Path() / "archivio.fdb";
  const fs::path notesFile = folder_.Path() / "bolle.fdb";
  users_ = Remote(port, usersFile);
  archive_ = Remote(port, archiveFile);
  notes_ = Remote(port, notesFile);
  for (const auto& [file, kind] : {std::pair{usersFile, schema::Kind::UserDirectory},
                                   std::pair{archiveFile, schema::Kind::Archive},
                                   std::pair{notesFile, schema::Kind::DeliveryNotes}}) {
    schema::CreateDatabase(file, kind, "UTF8");
  }
  {
    db::Connection directory;
    OpenIBDatabase(directory, usersFile.string());
    testing::ExecSqlLines(
        directory,
        {"EXECUTE BLOCK AS", "  DECLARE I INTEGER = 1;", "BEGIN", "  WHILE (I <= " + std::to_string(users) + ") DO",
         "  BEGIN", "    INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (:I, 'Postazione ' || :I, 'ALFA');",
         "    INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO)",
         "      VALUES (:I, 'ALFA', 'Archivio', '" + archive_ + "', 1);",
         "    I = I + 1;", "  END", "END"});
  }
  {
    db::Connection notes;
    OpenIBDatabase(notes, notesFile.string());
    testing::ExecSqlLines(
        notes,
        {"EXECUTE BLOCK AS", "  DECLARE I INTEGER = 0;", "BEGIN", "  WHILE (I < 1000) DO", "  BEGIN",
         "    INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('B' || :I, CURRENT_DATE, 'Cliente');",
         "    I = I + 1;", "  END", "END"});
  }
  {
    db::Connection archive;
    OpenIBDatabase(archive, archiveFile.string());
    FillValidationArchive(archive, notes_, 10000);
  }
  fs::create_directories(hostFolder / "user");
  iniFile_ = hostFolder / "user" / "dati.ini";
  std::ofstream ini(iniFile_);
  ini << "[CONFIG]\nPercorsoDatabase=" << users_ << "\n";
  if (!ini) throw std::runtime_error("cannot write " + iniFile_.string());
  OpenIBDatabase(notesInUse_, notes_);
}

LoadSite::~LoadSite() {
  std::error_code ignored;
  fs::remove(iniFile_, ignored);
  fs::remove(iniFile_.parent_path(), ignored);  // only when empty
}

LoadSite::Counts LoadSite::ServerCounts() const {
  Counts counts;
  for (const std::string* database : {&users_, &archive_, &notes_}) {
    db::Connection connection;
    OpenIBDatabase(connection, *database);
    counts.attachments += testing::QueryInt(
        connection,
        "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION AND MON$SYSTEM_FLAG = 0");
    counts.transactions += testing::QueryInt(
        connection, "SELECT COUNT(*) FROM MON$TRANSACTIONS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
  }
  return counts;
}

std::string LoadSite::StoredLocation() const {
  db::Connection archive;
  OpenIBDatabase(archive, archive_);
  return testing::QueryText(archive, "SELECT TESTO FROM TABX WHERE NOME = 'VelZidBolDBRux' AND UTENTE IS NULL");
}

std::string LoadSite::StoredPlacement(std::int32_t user) const {
  db::Connection archive;
  OpenIBDatabase(archive, archive_);
  return testing::QueryText(archive, "SELECT POSX || ' ' || POSY FROM STOPOS1 WHERE CODICESITUAZIONE = 1 AND "
                                     "CODICEUTENTE = " + std::to_string(user) + " AND CODICEPROGETTO = 541");
}

}  // namespace brontelx::bench
