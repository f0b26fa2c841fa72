#include "tests/support/FormsFixture.h"

#include <QApplication>
#include <QWidget>

#include <filesystem>

#include "database/DRKDBUtility.h"
#include "database/TransactedStatement.h"
#include "tests/support/Sql.h"

namespace brontelx::testing {

void RecordingBackend::ShowError(const std::string& message) {
  messages_.push_back(message);
  if (whileShown) whileShown();
}

void FormsFixture::SetUp() {
  const auto exeFolder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  userDirectory = std::make_unique<TestDatabase>(schema::Kind::UserDirectory, "UTF8", exeFolder / "user", "user.fdb");
  OpenIBDatabase(users, userDirectory->Path());
  ExecSql(users, "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (15, 'ROSSI MARIO', 'ALFA SRL')");
  ExecSql(users, "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE) VALUES (7, 'Prova')");
  UseArchiveAt(archiveFile.Path());
  previousBackend_ = platform::UseBackend(&toolkit);
}

void FormsFixture::TearDown() {
  for (QWidget* window : QApplication::topLevelWidgets()) window->close();
  ProcessEvents();
  platform::UseBackend(previousBackend_);
}

void FormsFixture::SetArchivio(const std::string& value) {
  ExecSql(users, "DELETE FROM TABQUADREL WHERE UTENTE = 15 AND PARAMETRO = 'Archivio'");
  db::TransactedStatement insert(users, {}, db::TransactedStatement::End::Commit, true);
  insert.Query().SetSQL({"INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO)",
                         "VALUES (15, 'ALFA SRL', 'Archivio', :VALORE, 1)"});
  insert.Query().ParamByName("VALORE").SetString(value);
  insert.Query().ExecQuery();
  insert.Finish();
}

void FormsFixture::UseArchiveAt(const std::string& location) {
  SetArchivio(location);
  archive.Close();
  OpenIBDatabase(archive, location);
}

std::string FormsFixture::LoggedHandle(std::int32_t id) {
  return QueryText(users, "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = " + std::to_string(id));
}

std::int64_t FormsFixture::ArchiveAttachments() {
  return QueryInt(archive,
                  "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 AND MON$ATTACHMENT_ID <> "
                  "CURRENT_CONNECTION");
}

void FormsFixture::ProcessEvents() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

int FormsFixture::TopLevelWindows() { return static_cast<int>(QApplication::topLevelWidgets().size()); }

}  // namespace brontelx::testing
