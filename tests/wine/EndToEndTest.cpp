// The 32-bit BrontelX.dll end to end, in an installation's shape, reaching its databases on a
// Firebird server through fbclient.dll: the test host opens both windows through the exports by
// ordinal, types into the test window and reads its results; the conditions of real hosts
// (HostConditionsTest.cpp) and the installed support tool run in the same installation.
//
// The installation: the host's folder holds the host, fbclient.dll and user\dati.ini, whose
// PercorsoDatabase sends the user directory to the server; user 1's "Archivio" is a Windows path
// whose folder holds only a dati.ini naming the server ("Nome Server") and the database there
// ("Alias"); the stored location of the delivery notes is a server:path connection string.
// BrontelX.dll lies in a folder of its own, away from the host, as the user directory belongs
// beside the host, not the library.
//
// Settings (paths of this machine are shown to Windows code through Wine's drive Z:):
//   BRONTELX_FB_SERVER      host/port of the Firebird server, e.g. 127.0.0.1/3050
//   BRONTELX_FB_DATA        a folder the server writes its databases to; the installation goes there
//   BRONTELX_INSTALLED      the folder cmake --install put BrontelX.dll and brontelx.exe in
//   BRONTELX_SCREENSHOTS    where the screenshots of both windows go
// and, set by CTest: BRONTELX_TEST_HOST, BRONTELX_HOST_CONDITIONS_TESTS (the programs) and
// BRONTELX_LIBGCC, BRONTELX_WINPTHREAD (the toolchain's shared runtime). Without them every test is
// skipped. fbclient.dll is the one beside this program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "base/ExecutableFile.h"
#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "platform/win32/WideText.h"
#include "schema/SchemaDatabase.h"
#include "tests/support/Sql.h"
#include "tests/winprograms/WinePaths.h"
#include "tests/winprograms/WindowsProgram.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using platform::win32::ToUtf8;
using platform::win32::ToWide;
using testing::CountLines;
using testing::LinesStarting;
using testing::Setting;
using testing::WindowsPath;

// The longest any one program of the run may take.
constexpr DWORD kProgramTimeLimit = 180 * 1000;

constexpr const wchar_t* kSettings[] = {
    L"BRONTELX_FB_SERVER", L"BRONTELX_FB_DATA",  L"BRONTELX_INSTALLED",          L"BRONTELX_SCREENSHOTS",
    L"BRONTELX_TEST_HOST", L"BRONTELX_LIBGCC",   L"BRONTELX_HOST_CONDITIONS_TESTS", L"BRONTELX_WINPTHREAD"};

// Text for a '...' literal of SQL: apostrophes doubled.
std::string SqlText(const std::string& text) {
  std::string quoted;
  for (const char c : text) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted;
}

// A dati.ini of section CONFIG, in Windows's line ends, with the key=value lines given.
void WriteDatiIni(const fs::path& file, const std::vector<std::string>& lines) {
  std::ofstream out(file, std::ios::binary);
  out << "[CONFIG]\r\n";
  for (const std::string& line : lines) out << line << "\r\n";
  if (!out.flush()) throw std::runtime_error("cannot write " + ToUtf8(file.wstring()));
}

// The installation and its three databases on the server, laid out once for all tests.
struct Installation {
  Installation() {
    const std::string root = Setting(L"BRONTELX_FB_DATA") + "/end-to-end";
    dataPath = root + "/data";
    server = Setting(L"BRONTELX_FB_SERVER") + ":" + dataPath;
    work = WindowsPath(root);
    hostFolder = work / L"programmi città";
    archiveFolder = work / L"archivio città";
    library = work / L"plugins" / L"BrontelX.dll";
    const fs::path unreachableFolder = work / L"archivio-spento";
    fs::remove_all(work);
    fs::create_directories(hostFolder / L"user");
    fs::create_directories(library.parent_path());
    fs::create_directories(archiveFolder);
    fs::create_directories(unreachableFolder);
    fs::create_directories(WindowsPath(dataPath));
    CreateDatabases(ToUtf8((archiveFolder / L"archivio.fdb").wstring()),
                    ToUtf8((unreachableFolder / L"archivio.fdb").wstring()));

    WriteDatiIni(hostFolder / L"user" / L"dati.ini", {"PercorsoDatabase=" + server + "/user.fdb"});
    WriteDatiIni(archiveFolder / L"dati.ini",
                 {"Nome Server=" + Setting(L"BRONTELX_FB_SERVER"), "Alias=" + dataPath + "/archivio.fdb"});
    // User 2's archive lies on a server that is down: nothing listens on port 1.
    WriteDatiIni(unreachableFolder / L"dati.ini", {"Nome Server=127.0.0.1/1", "Alias=" + dataPath + "/archivio.fdb"});

    const fs::path installed = WindowsPath(Setting(L"BRONTELX_INSTALLED"));
    const auto copy = [](const fs::path& from, const fs::path& to) {
      fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    };
    copy(WindowsPath(Setting(L"BRONTELX_TEST_HOST")), hostFolder / L"brontelx-winhost.exe");
    copy(ExecutableFile().parent_path() / L"fbclient.dll", hostFolder / L"fbclient.dll");
    copy(installed / L"BrontelX.dll", library);
    copy(installed / L"brontelx.exe", hostFolder / L"brontelx.exe");
    // The host-conditions program runs beside the toolchain's shared libgcc and the threads
    // library it needs, which it loads before the library.
    copy(WindowsPath(Setting(L"BRONTELX_HOST_CONDITIONS_TESTS")), hostFolder / L"brontelx_host_conditions_tests.exe");
    for (const wchar_t* runtime : {L"BRONTELX_LIBGCC", L"BRONTELX_WINPTHREAD"}) {
      const fs::path file = WindowsPath(Setting(runtime));
      copy(file, hostFolder / file.filename());
    }
    screenshots = WindowsPath(Setting(L"BRONTELX_SCREENSHOTS"));
    fs::create_directories(screenshots);
  }

  // The user directory in Windows-1252 (as the product's Windows programs write it) with user 1
  // "Niccolò Bianchi" of "Città Srl", whose "Archivio" is `archivePath`, and user 2, whose
  // "Archivio" is `unreachableArchivePath`; the company archive in UTF-8 with the location of the
  // delivery notes and an opened chain holding BOL-1001; the delivery notes BOL-1001 and BOL-1002,
  // without a character set.
  void CreateDatabases(const std::string& archivePath, const std::string& unreachableArchivePath) const {
    schema::CreateDatabase(server + "/user.fdb", schema::Kind::UserDirectory, "WIN1252");
    schema::CreateDatabase(server + "/archivio.fdb", schema::Kind::Archive, "UTF8");
    schema::CreateDatabase(server + "/rux.fdb", schema::Kind::DeliveryNotes, "NONE");
    Fill("user.fdb",
         {"INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
          "VALUES (1, 'Niccolò Bianchi', 'Città Srl', 'niccolo', 1)",
          "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
          "VALUES (1, 'Città Srl', 'Archivio', '" + SqlText(archivePath) + "', 1)",
          "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA, PWDUTENTE, PROFILOSICUREZZA) "
          "VALUES (2, 'Anna Neri', 'Spenta Srl', 'anna', 1)",
          "INSERT INTO TABQUADREL (UTENTE, INTESTAZIONE, PARAMETRO, VALORE, PROGRESSIVO) "
          "VALUES (2, 'Spenta Srl', 'Archivio', '" + SqlText(unreachableArchivePath) + "', 1)",
          "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) "
          "VALUES (100, 'Collaudo Personalizzazioni', CURRENT_TIMESTAMP)",
          "INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) "
          "VALUES (101, 'VelDatiValidazPers', CURRENT_TIMESTAMP)"});
    Fill("archivio.fdb",
         {"INSERT INTO TABX (CODICE, NOME, TESTO, UTENTE) VALUES (GEN_ID(CODICETABXCOUNTER, 1), "
          "'VelZidBolDBRux', '" + SqlText(server) + "/rux.fdb', NULL)",
          "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (1, 1, 'APERTURA', 1)",
          "INSERT INTO BRONTELLOG (ID, ID_CATENA, DATOINPUT, USER_AUTENTICAZ) VALUES (2, 1, 'BOL-1001', 1)"});
    Fill("rux.fdb", {"INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('BOL-1001', CURRENT_DATE, 'Cliente')",
                     "INSERT INTO BOLLE (BOL_COD, BOL_DATA, BOL_CLIENTE) VALUES ('BOL-1002', CURRENT_DATE, 'Cliente')"});
  }

  void Fill(const std::string& database, const std::vector<std::string>& statements) const {
    db::Connection connection;
    OpenIBDatabase(connection, server + "/" + database);
    for (const std::string& sql : statements) testing::ExecSql(connection, sql);
  }

  // The value of a one-column, one-row query on a database of the installation.
  std::string Value(const std::string& database, const std::string& query) const {
    db::Connection connection;
    OpenIBDatabase(connection, server + "/" + database);
    return testing::QueryText(connection, query);
  }

  // Runs a program of the host's folder; its output is kept in the installation as NAME.out/.err.
  testing::ProgramRun Run(const std::wstring& program, const std::wstring& name,
                          const std::vector<std::wstring>& arguments) const {
    return testing::RunProgram((hostFolder / program).wstring(), arguments, (work / name).wstring(),
                               kProgramTimeLimit);
  }

  std::string dataPath;  // the databases' folder, as the server sees it
  std::string server;    // "host/port:" + dataPath
  fs::path work;
  fs::path hostFolder;
  fs::path archiveFolder;
  fs::path library;
  fs::path screenshots;
};

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : kSettings) {
      if (Setting(name).empty()) GTEST_SKIP() << ToUtf8(name) << " is not set: no Firebird server or installation to run on";
    }
    static std::optional<Installation> installation;
    if (!installation) installation.emplace();
    at = &*installation;
  }

  const Installation* at = nullptr;
};

TEST_F(EndToEndTest, TheTestWindowThroughOrdinal4ShowsTheResultsIsLoggedAndStoresItsPlacement) {
  // A datum missing from the delivery notes, one in no opened chain, one in an opened chain; the
  // screenshot shows the last result.
  const testing::ProgramRun run = at->Run(
      L"brontelx-winhost.exe", L"end-to-end-test",
      {at->library.wstring(), L"#4", L"--user", L"1", L"--window-log", L"100", L"--error", L"GetUltimoErroreX",
       L"--set", L"EditDatoAcquisito=BOL-9999", L"--click", L"ButtonTestVelZidBol", L"--read", L"EditRisultato",
       L"--set", L"EditDatoAcquisito=BOL-1002", L"--click", L"ButtonTestVelZidBol", L"--read", L"EditRisultato",
       L"--set", L"EditDatoAcquisito=BOL-1001", L"--click", L"ButtonTestVelZidBol", L"--read", L"EditRisultato",
       L"--screenshot", (at->screenshots / L"win32-test-window.png").wstring(), L"--close"});
  ASSERT_EQ(run.exitCode, 0u) << testing::Describe(run);
  EXPECT_EQ(CountLines(run.output, "#4 returned 0"), 1) << testing::Describe(run);
  const std::string caption = ": Collaudo Personalizzazioni - Utente: Niccolò Bianchi - Ditta: Città Srl";
  std::string window;
  for (const std::string& line : LinesStarting(run.output, "window ")) {
    if (line.size() > caption.size() && line.compare(line.size() - caption.size(), caption.size(), caption) == 0) {
      window = line.substr(7, line.size() - caption.size() - 7);
    }
  }
  ASSERT_FALSE(window.empty()) << "the caption does not name the user and company\n" << testing::Describe(run);
  EXPECT_EQ(LinesStarting(run.output, "EditRisultato: "),
            (std::vector<std::string>{"EditRisultato: ERR - Bolletta BOL-9999 non trovata nell'archivio RUX.",
                                      "EditRisultato: ERR - Bolletta BOL-1002 non associata a nessuna catena di APERTURA.",
                                      "EditRisultato: OK"}));
  EXPECT_EQ(CountLines(run.output, "window closed and destroyed"), 1) << "the window outlived its close\n" << testing::Describe(run);
  EXPECT_EQ(at->Value("user.fdb", "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = 100"), window);
  EXPECT_EQ(at->Value("archivio.fdb",
                      "SELECT COUNT(*) FROM STOPOS1 WHERE CodiceSituazione = 2 AND CodiceUtente = 1 "
                      "AND CodiceProgetto = 541"),
            "1")
      << "closing the test window stored no placement";
}

TEST_F(EndToEndTest, TheSettingsWindowThroughOrdinal5ShowsTheStoredLocation) {
  const testing::ProgramRun run =
      at->Run(L"brontelx-winhost.exe", L"end-to-end-settings",
              {at->library.wstring(), L"#5", L"--user", L"1", L"--window-log", L"101", L"--error", L"GetUltimoErroreX",
               L"--read", L"EditVelZidBolDBRux", L"--screenshot",
               (at->screenshots / L"win32-settings-window.png").wstring(), L"--close"});
  ASSERT_EQ(run.exitCode, 0u) << testing::Describe(run);
  EXPECT_EQ(CountLines(run.output, "#5 returned 0"), 1) << testing::Describe(run);
  EXPECT_EQ(CountLines(run.output, "EditVelZidBolDBRux: " + at->server + "/rux.fdb"), 1) << testing::Describe(run);
}

// HostConditionsTest.cpp in the host's folder: failing calls beside the shared libgcc, windows
// destroyed by the host, by their thread's end and by the process's exit, the library unloaded
// before a thread that called it ends.
TEST_F(EndToEndTest, TheConditionsOfRealHostsHoldInTheHostsFolder) {
  SetEnvironmentVariableW(L"BRONTELX_LIBRARY", at->library.wstring().c_str());
  SetEnvironmentVariableW(L"BRONTELX_USER_DATABASE", ToWide(at->server + "/user.fdb").c_str());
  SetEnvironmentVariableW(L"BRONTELX_ARCHIVE", ToWide(at->server + "/archivio.fdb").c_str());
  const testing::ProgramRun run = at->Run(L"brontelx_host_conditions_tests.exe", L"host-conditions", {});
  // A Wine program that crashes may still end with status 0: the report must say the tests passed.
  EXPECT_EQ(run.exitCode, 0u) << testing::Describe(run);
  EXPECT_FALSE(LinesStarting(run.output, "[  PASSED  ]").empty()) << testing::Describe(run);
  EXPECT_TRUE(LinesStarting(run.output, "[  FAILED  ]").empty()) << testing::Describe(run);
}

// The installed brontelx.exe in the host's folder, where fbclient.dll and user\dati.ini are.
TEST_F(EndToEndTest, TheSupportToolReadsTheDatabasesOnTheServer) {
  const std::string archive = ToUtf8((at->archiveFolder / L"archivio.fdb").wstring());
  const struct {
    std::vector<std::wstring> arguments;
    DWORD exitCode;
    std::string output;    // the whole output but its last line ends, when not empty
    std::string line;      // a line the output holds lineCount times, when not empty
    int lineCount;
    std::string errorsHold;
  } cases[] = {
      {{L"users"}, 0, {}, "1\tNiccolò Bianchi\tCittà Srl\t" + archive, 1, {}},
      {{L"location", L"1"}, 0, at->server + "/rux.fdb", {}, 0, {}},
      {{L"info", L"1"}, 0, {}, "  attaches: yes", 3, {}},
      {{L"validate", L"1", L"BOL-9999", L"BOL-1002", L"BOL-1001", L"--format", L"tsv"},
       1,
       "BOL-9999\tERR - Bolletta BOL-9999 non trovata nell'archivio RUX.\n"
       "BOL-1002\tERR - Bolletta BOL-1002 non associata a nessuna catena di APERTURA.\n"
       "BOL-1001\tOK",
       {},
       0,
       {}},
      // User 2's archive lies on a server that is down.
      {{L"validate", L"2", L"BOL-1001"}, 3, {}, {}, 0, "brontelx: cannot attach the company archive"},
  };
  int number = 0;
  for (const auto& each : cases) {
    const testing::ProgramRun run = at->Run(L"brontelx.exe", L"tool-" + std::to_wstring(++number), each.arguments);
    const std::string shown = "brontelx.exe " + ToUtf8(each.arguments.front()) + ": " + testing::Describe(run);
    EXPECT_EQ(run.exitCode, each.exitCode) << shown;
    if (!each.output.empty()) {
      EXPECT_EQ(run.output.substr(0, run.output.find_last_not_of('\n') + 1), each.output) << shown;
    }
    if (!each.line.empty()) {
      EXPECT_EQ(CountLines(run.output, each.line), each.lineCount) << shown;
    }
    EXPECT_NE(run.errors.find(each.errorsHold), std::string::npos) << shown;
  }
}

}  // namespace
}  // namespace brontelx
