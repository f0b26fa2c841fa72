#include "host/Demo.h"

#include <unistd.h>


#include <fstream>
#include <iostream>

#include "base/Error.h"
#include "base/TextCodec.h"
#include "database/DBConnectionInfo.h"
#include "host/DemoData.h"
#include "host/StagedFiles.h"
#include "host/TerminalText.h"
#include "session/BrontelX.Classes.h"
#include "userdir/DRKUser.h"
#include "validations/VelValidazPers.h"

namespace brontelx::cli {
namespace {

namespace fs = std::filesystem;

// Windows clients address the archive through these dati.ini layouts.
void ShowConnectionStrings() {
  struct Layout {
    const char* what;
    const char* ini;
  };
  const Layout layouts[] = {
      {"no dati.ini", nullptr},
      {"explicit database path", "[CONFIG]\r\nPercorsoDatabase=D:\\Database\\Ditta.fdb\r\n"},
      {"server and disk letter", "[CONFIG]\r\nNome Server=SRVDATI\r\nLettera Disco Server=E\r\n"},
      {"server and alias", "[CONFIG]\r\nNome Server=SRVDATI\r\nAlias=DITTA\r\nLettera Disco Server=E\r\n"},
      {"server only", "[CONFIG]\r\nNome Server=SRVDATI\r\n"},
  };
  const fs::path folder = fs::temp_directory_path() / ("brontelx-demo-ini-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path ini = folder / "dati.ini";
  std::cout << "Connection strings for E:\\Programmi\\Archivio\\archivio.fdb:\n";
  for (const Layout& layout : layouts) {
    fs::remove(ini);
    if (layout.ini) std::ofstream(ini, std::ios::binary) << layout.ini;
    TDBConnectionInfo info;
    info.FileName = "E:\\Programmi\\Archivio\\archivio.fdb";
    info.LoadFromIniFile(ini.string(), "CONFIG");
    std::string result;
    try {
      result = info.GetIBFileName();
    } catch (const Error& e) {
      result = std::string("error: ") + e.what();
    }
    std::cout << "  " << layout.what << ": " << result << "\n";
  }
  fs::remove_all(folder);
}

// The users' parameters hold the paths of the archive, of the delivery-note database and of the
// programs' folder, and the parameter block carries values up to a length: a longer path would
// fail the build halfway with the server's truncation error.
void CheckStoredPaths(const DemoFiles& names) {
  for (const std::string& path : {names.archive, names.deliveryNotes, ProgramsFolder(names)}) {
    const std::size_t characters = text::Utf8Length(path);
    if (characters > TDRKUser::kQuadrelValueCharacters)
      throw Error("the demo stores " + path + " in a user's parameters, whose values hold at most " +
                  std::to_string(TDRKUser::kQuadrelValueCharacters) + " characters; it has " +
                  std::to_string(characters) + ": choose a shorter folder");
  }
}

// Builds the databases beside the files they replace and moves them into place once all are built.
void BuildDemoDatabases(const DemoFiles& names) {
  StagedFiles staged({names.userDirectory, names.archive, names.deliveryNotes});
  try {
    CreateDemoDatabases({staged.Staged(0), staged.Staged(1), staged.Staged(2)}, names);
  } catch (const std::exception& e) {
    throw Error(std::string("cannot build the demo databases, nothing was replaced:\r\n") + e.what());
  }
  staged.Commit();
}

}  // namespace

int RunDemo(const fs::path& folder) {
  const DemoFiles files{TDRKUser::DefaultFileName(), folder / "archivio.fdb", folder / "rux.fdb"};
  CheckStoredPaths(files);
  BuildDemoDatabases(files);
  ShowConnectionStrings();
  std::cout << "\nDemo databases (embedded engine):\n"
            << "  user directory: " << Escaped(files.userDirectory) << "\n"
            << "    window log rows: 100 (test window), 101 (settings window)\n"
            << "  company archive: " << Escaped(files.archive) << "\n"
            << "    stored placement of user 1's test window: 120,90 540x360\n"
            << "  delivery notes: " << Escaped(files.deliveryNotes) << "\n";

  TSessione session;
  session.Avvia(1);
  std::cout << "\nSession started for user " << session.DRKUser().CodiceUtente() << " ("
            << Escaped(session.DRKUser().NomeUtente()) << ", " << Escaped(session.DRKUser().DittaUtente()) << ")\n"
            << "  Archivio: " << Escaped(session.Parametri().Archivio()) << "\n"
            << "  VelZidBolDBRux: " << Escaped(session.DRKTabX().GetParametroTesto(kVelZidBolDBRux, 0)) << "\n";

  struct Check {
    const char* function;
    std::int32_t user;
    const char* datum;
  };
  const Check checks[] = {{"VelZidBol", 1, "BOL-1001"}, {"VelZidBol", 1, "BOL-1002"}, {"velzidbol", 2, "BOL-1002"},
                          {"VelZidBol", 1, "BOL-9999"}, {"VelZidBol", 1, "BOL-1003"}, {"VelAltro", 1, "BOL-1001"}};
  std::cout << "\nValidations:\n";
  for (const Check& check : checks) {
    std::cout << "  " << check.function << "(user " << check.user << ", \"" << check.datum << "\") -> "
              << EseguiValidazPers(session.IBDatabase(), check.function, check.user, check.datum) << "\n";
  }
  return 0;
}

}  // namespace brontelx::cli
