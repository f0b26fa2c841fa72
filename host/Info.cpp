#include "host/Info.h"

#include <cstdlib>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "database/DRKDBUtility.h"
#include "database/FbClient.h"
#include "database/Statement.h"
#include "database/Transaction.h"
#include "host/DatabaseContext.h"
#include "host/FailureHint.h"
#include "host/ProgramVersion.h"
#include "session/BrontelX.Classes.h"
#ifndef _WIN32
#include "database/LockFolder.h"
#endif
#include "database/TransactedStatement.h"
#include "host/TerminalText.h"
#include "validations/VelValidazPers.h"

namespace brontelx::cli {
namespace {

// Continuation lines of a message stand under its first line.
constexpr const char* kIndent = "    ";

constexpr const char* kUserDirectoryLabel = "User directory";
constexpr const char* kArchiveLabel = "Archive (\"Archivio\")";
// The delivery notes' label names the value their location is read from.
const std::string kDeliveryNotesLabel = std::string("Delivery notes (\"") + kVelZidBolDBRux + "\")";

// How a database turned out: it attached and holds its tables, it attached but lacks some, or it
// did not attach.
enum class Outcome { Fine, WrongDatabase, Unreachable };

std::string Query(db::Connection& connection, const std::string& sql, const std::string& parameter = {}) {
  db::TransactedStatement statement(connection, {"read_committed", "rec_version", "read"},
                                    db::TransactedStatement::End::Rollback, !parameter.empty());
  statement.Query().SetSQL({sql});
  if (!parameter.empty()) statement.Query().ParamByName("NAME").SetString(parameter);
  statement.Query().ExecQuery();
  std::string value = statement.Query().Eof() ? std::string() : statement.Query().FieldAt(0).AsString();
  statement.Finish();
  return value;
}

// The tables of `tables` that the database lacks, as "no table A, B".
std::string MissingTables(db::Connection& connection, std::initializer_list<const char*> tables) {
  std::string missing;
  for (const char* table : tables) {
    if (Query(connection, "SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :NAME", table).empty())
      missing += (missing.empty() ? "no table " : ", ") + std::string(table);
  }
  return missing;
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

// Shows how `fileName` is reached, attaches `connection` to it as OpenIBDatabase does, and shows
// the engine's version and whether the database holds `tables`.
Outcome ShowDatabase(std::ostream& out, db::Connection& connection, const std::string& fileName,
                     std::initializer_list<const char*> tables) {
  out << ReachLines(fileName, "  ");
  // What is known so far stays visible should the attach hang and the user interrupt it.
  out.flush();
  try {
    OpenIBDatabase(connection, fileName);
  } catch (const std::exception& e) {
    out << "  attaches: no: " << MessageText(e.what(), kIndent) << "\n";
    if (const std::string hint = FailureHint(e.what()); !hint.empty()) out << "  hint: " << hint << "\n";
    return Outcome::Unreachable;
  }
  out << "  engine: Firebird "
      << Escaped(Query(connection, "SELECT RDB$GET_CONTEXT('SYSTEM', 'ENGINE_VERSION') FROM RDB$DATABASE")) << "\n";
  ShowWire(out, connection);
  if (const std::string missing = MissingTables(connection, tables); !missing.empty()) {
    out << "  attaches: " << missing << ": not the database it should be\n";
    return Outcome::WrongDatabase;
  }
  out << "  attaches: yes\n";
  return Outcome::Fine;
}

int Status(Outcome outcome) { return outcome == Outcome::Unreachable ? 3 : 1; }

#ifndef _WIN32
// Whether this user can share the embedded engine's lock files with the machine's other users.
void ShowLockFolder(std::ostream& out) {
  const std::string problem = db::client::LockFolderProblem();
  out << "Lock folder: " << Escaped(db::client::LockFolder()) << ": "
      << (problem.empty() ? std::string("usable") : MessageText(problem, kIndent)) << "\n";
}
#endif

void ShowFirebird(std::ostream& out) {
  std::string client;
  try {
    // Loading the client also settles the Firebird root it uses.
    client = ClientVersionText(db::Util()->getClientVersion());
  } catch (const std::exception& e) {
    client = "not loaded: " + MessageText(e.what(), kIndent);
  }
  out << "Versions: brontelx " << kProgramVersion << ", Firebird client " << client << "\n";
  const char* root = std::getenv("FIREBIRD");
  out << "Firebird root: " << (root ? Escaped(root) : "the system's (no firebird/ folder beside this program)") << "\n";
#ifndef _WIN32
  ShowLockFolder(out);
#endif
}

}  // namespace

int RunInfo(std::int32_t user, std::ostream& out) {
  ShowFirebird(out);
  TSessione session;
  const std::string userDirectory = TDRKUser::DefaultFileName();
  out << kUserDirectoryLabel << ": " << Escaped(userDirectory) << "\n";
  if (const Outcome outcome =
          ShowDatabase(out, session.DRKUser().DBUser(), userDirectory, {"UTENTI", "TELVILOGFUNZ", "TABQUADREL"});
      outcome != Outcome::Fine)
    return Status(outcome);

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
    out << kArchiveLabel << ": " << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  if (archive.empty()) {
    out << kArchiveLabel << ": not set for company " << Escaped(session.DRKUser().DittaUtente()) << "\n";
    return 1;
  }
  out << kArchiveLabel << ": " << Escaped(archive) << "\n";
  if (const Outcome outcome = ShowDatabase(out, session.IBDatabase(), archive, {"TABX", "STOPOS1", "BRONTELLOG"});
      outcome != Outcome::Fine) {
    out << kDeliveryNotesLabel << ": not read, the archive is not usable\n";
    return Status(outcome);
  }

  std::string location;
  try {
    location = session.DRKTabX().GetParametroTesto(kVelZidBolDBRux, 0);
  } catch (const std::exception& e) {
    out << kDeliveryNotesLabel << ": " << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  if (location.empty()) {
    out << kDeliveryNotesLabel << ": not set, every validation answers that it is not configured\n";
    return 1;
  }
  out << kDeliveryNotesLabel << ": " << Escaped(location) << "\n";
  db::Connection deliveryNotes;
  const Outcome outcome = ShowDatabase(out, deliveryNotes, location, {"BOLLE"});
  return outcome == Outcome::Fine ? 0 : Status(outcome);
}

}  // namespace brontelx::cli
