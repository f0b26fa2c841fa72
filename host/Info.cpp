#include "Info.h"

#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>

#include "BrontelX.Classes.h"
#include "DBConnectionInfo.h"
#include "DRKDBUtility.h"
#include "Error.h"
#include "TerminalText.h"
#include "VelValidazPers.h"

namespace brontelx::cli {
namespace {

// Continuation lines of a message stand under its first line.
constexpr const char* kIndent = "    ";

// The label of the delivery notes' line, which names the value it is read from.
const std::string kDeliveryNotes = std::string("Delivery notes (\"") + kVelZidBolDBRux + "\"): ";

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

// Shows how `fileName` is reached and attaches `connection` to it as OpenIBDatabase does; returns
// whether it attached.
bool ShowDatabase(std::ostream& out, db::Connection& connection, const std::string& fileName) {
  const std::string ini = DatiIniPath(fileName);
  const TDBConnectionInfo info = DescribeDatabase(fileName);
  std::error_code ignored;
  if (std::filesystem::is_regular_file(ini, ignored)) {
    out << "  dati.ini: " << Escaped(ini) << ": " << Escaped(IniSettings(info)) << "\n";
  } else {
    out << "  dati.ini: none (" << Escaped(ini) << ")\n";
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
  return true;
}

}  // namespace

int RunInfo(std::int32_t user, std::ostream& out) {
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
    out << kDeliveryNotes << "not read, the archive does not attach\n";
    return 1;
  }

  std::string location;
  try {
    location = session.DRKTabX().GetParametroTesto(kVelZidBolDBRux, 0);
  } catch (const std::exception& e) {
    out << kDeliveryNotes << MessageText(e.what(), kIndent) << "\n";
    return 1;
  }
  if (location.empty()) {
    out << kDeliveryNotes << "not set, every validation answers that it is not configured\n";
    return 1;
  }
  out << kDeliveryNotes << Escaped(location) << "\n";
  db::Connection deliveryNotes;
  return ShowDatabase(out, deliveryNotes, location) ? 0 : 1;
}

}  // namespace brontelx::cli
