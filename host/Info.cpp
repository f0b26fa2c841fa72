#include "Info.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <system_error>

#include "BrontelX.Classes.h"
#include "DBConnectionInfo.h"
#include "DRKDBUtility.h"
#include "Error.h"
#include "Statement.h"
#include "Transaction.h"
#ifndef _WIN32
#include "LockFolder.h"
#endif
#include "TerminalText.h"

namespace brontelx::cli {
namespace {

// Continuation lines of a message stand under its first line.
constexpr const char* kIndent = "    ";

std::string IniSettings(const TDBConnectionInfo& info) {
  std::string settings;
  const auto add = [&](const char* key, const std::string& value) {
    if (value.empty()) return;
    settings += (settings.empty() ? "" : ", ") + std::string(key) + "=" + value;
  };
  add("Nome Server", info.NomeServer);
  add("Lettera Disco Server", info.LetteraDiscoServer);
  add("PercorsoDatabase", info.PercorsoDatabase);
  add("Alias", info.Alias);
  return settings.empty() ? "no settings in [CONFIG]" : settings;
}

// Why the dati.ini at `path` is not read ("none" when there is none), or empty text when it is.
std::string WhyIgnored(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error.value() == ELOOP) return "ignored, a loop of links";
  if (!fs::exists(status)) return fs::is_symlink(fs::symlink_status(path, error)) ? "ignored, a broken link" : "none";
  if (fs::is_directory(status)) return "ignored, a folder";
  if (fs::is_fifo(status)) return "ignored, a FIFO";
  if (!fs::is_regular_file(status)) return "ignored, not a regular file";
  if (!std::ifstream(path)) return "ignored, unreadable";
  return {};
}

// For a connection to a server: whether the wire is encrypted and how the server checked the login.
void ShowWire(std::ostream& out, db::Connection& connection) {
  if (connection.Server().empty()) return;
  try {
    db::Transaction transaction(&connection);
    transaction.Params() = {"read", "read_committed", "rec_version"};
    transaction.StartTransaction();
    db::Statement query(&connection, &transaction);
    query.SetSQL({"SELECT RDB$GET_CONTEXT('SYSTEM', 'WIRE_ENCRYPTED'), MON$AUTH_METHOD FROM MON$ATTACHMENTS",
                  "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION"});
    query.ExecQuery();
    out << "  wire: " << (query.FieldAt(0).AsString() == "TRUE" ? "encrypted" : "NOT encrypted")
        << ", login checked by " << Escaped(query.FieldAt(1).AsString()) << "\n";
    query.Close();
    transaction.Commit();
  } catch (const std::exception& e) {
    out << "  wire: unknown: " << MessageText(e.what(), kIndent) << "\n";
  }
}

// Shows how `fileName` is reached and attaches `connection` to it as OpenIBDatabase does; returns
// whether it attached.
bool ShowDatabase(std::ostream& out, db::Connection& connection, const std::string& fileName) {
  const std::string ini = DatiIniPath(fileName);
  const TDBConnectionInfo info = DescribeDatabase(fileName);
  const std::string ignoredBecause = WhyIgnored(ini);
  if (ignoredBecause.empty()) {
    out << "  dati.ini: " << Escaped(ini) << ": " << Escaped(IniSettings(info)) << "\n";
  } else {
    out << "  dati.ini: " << ignoredBecause << " (" << Escaped(ini) << ")\n";
  }
  try {
    out << "  connection string: " << Escaped(info.GetIBFileName()) << "\n";
  } catch (const Error& e) {
    out << "  connection string: cannot be built: " << MessageText(e.what(), kIndent) << "\n";
  }
  // What is known so far stays visible should the attach hang and the user interrupt it.
  out.flush();
  try {
    OpenIBDatabase(connection, info);
  } catch (const std::exception& e) {
    out << "  attaches: no: " << MessageText(e.what(), kIndent) << "\n";
    return false;
  }
  out << "  attaches: yes\n";
  ShowWire(out, connection);
  return true;
}

#ifndef _WIN32
// Whether this user can share the embedded engine's lock files with the machine's other users.
void ShowLockFolder(std::ostream& out) {
  const std::string problem = db::client::LockFolderProblem();
  out << "Lock folder: " << Escaped(db::client::LockFolder()) << ": "
      << (problem.empty() ? std::string("usable") : MessageText(problem, kIndent)) << "\n";
}
#endif

}  // namespace

int RunInfo(std::int32_t user, std::ostream& out) {
#ifndef _WIN32
  ShowLockFolder(out);
#endif
  TSessione session;
  const std::string userDirectory = TDRKUser::DefaultFileName();
  out << "User directory: " << Escaped(userDirectory) << "\n";
  if (!ShowDatabase(out, session.DRKUser().DBUser(), userDirectory)) return 1;

  try {
    session.DRKUser().SetCodiceUtente(user);
  } catch (const std::exception& e) {
    out << "User " << user << ": " << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  out << "User " << user << ": " << Escaped(session.DRKUser().NomeUtente()) << ", company "
      << Escaped(session.DRKUser().DittaUtente()) << "\n";

  std::string archive;
  try {
    archive = session.Parametri().Archivio();
  } catch (const std::exception& e) {
    out << "Archive (\"Archivio\"): " << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  if (archive.empty()) {
    out << "Archive (\"Archivio\"): not set for company " << Escaped(session.DRKUser().DittaUtente()) << "\n";
    return 1;
  }
  out << "Archive (\"Archivio\"): " << Escaped(archive) << "\n";
  if (!ShowDatabase(out, session.IBDatabase(), archive)) {
    out << "Delivery notes (\"VelZidBolDBRux\"): not read, the archive does not attach\n";
    return 1;
  }

  std::string location;
  try {
    location = session.DRKTabX().GetParametroTesto("VelZidBolDBRux", 0);
  } catch (const std::exception& e) {
    out << "Delivery notes (\"VelZidBolDBRux\"): " << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  if (location.empty()) {
    out << "Delivery notes (\"VelZidBolDBRux\"): not set, every validation answers that it is not configured\n";
    return 1;
  }
  out << "Delivery notes (\"VelZidBolDBRux\"): " << Escaped(location) << "\n";
  db::Connection deliveryNotes;
  return ShowDatabase(out, deliveryNotes, location) ? 0 : 1;
}

}  // namespace brontelx::cli
