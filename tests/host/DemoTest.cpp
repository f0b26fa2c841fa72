#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include "tests/host/ToolFixture.h"

namespace brontelx::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string Content(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ino_t Inode(const fs::path& file) {
  struct stat info {};
  return stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

bool HasStagedFiles(const fs::path& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().find(".demo-new-") != std::string::npos) return true;
  }
  return false;
}

// The demo's databases, with a row that marks the user directory in use before each attempt.
class DemoTest : public ToolFixture {
 protected:
  void MarkUserDirectory() {
    Exec(UserDirectory(), "INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (7, 'In uso', 'DEMO SRL')");
  }
  // The user directory is the one in use: not replaced, its row still there.
  void ExpectUserDirectoryKept() {
    EXPECT_EQ(Query(UserDirectory(), "SELECT NOMEUTENTE FROM UTENTI WHERE CODICE = 7"), "In uso");
    EXPECT_FALSE(HasStagedFiles(UserDirectory().parent_path()));
  }
};

TEST_F(DemoTest, FillsWhatTheWindowsNeedAndReplacesItsOwnFiles) {
  EXPECT_EQ(Query(Archive(), "SELECT PosX || ',' || PosY || ' ' || DimX || 'x' || DimY FROM STOPOS1 "
                             "WHERE CodiceSituazione = 2 AND CodiceUtente = 1 AND CodiceProgetto = 541"),
            "120,90 540x360");
  EXPECT_EQ(Query(UserDirectory(), "SELECT LIST(IDFINESTRA, ',') FROM (SELECT IDFINESTRA FROM TELVILOGFUNZ "
                                   "WHERE HANDLEFINESTRA IS NULL ORDER BY IDFINESTRA)"),
            "100,101");
  EXPECT_EQ(Query(UserDirectory(), "SELECT VALORE FROM TABQUADREL WHERE UTENTE = 1 AND PARAMETRO = 'Archivio'"),
            Archive().string());

  MarkUserDirectory();
  // A file of someone else's under a name like those the demo builds its new files under.
  std::ofstream(Folder() / "data" / "rux.fdb.demo-new") << "not the demo's";
  const ChildResult again = Run({"demo", (Folder() / "data").string()});
  EXPECT_EQ(ExitCode(again), 0) << again.errors;
  EXPECT_EQ(Query(UserDirectory(), "SELECT COUNT(*) FROM UTENTI WHERE CODICE = 7"), "0");
  EXPECT_EQ(Content(Folder() / "data" / "rux.fdb.demo-new"), "not the demo's");
  EXPECT_TRUE(fs::exists(Archive().string() + ".demo"));
  EXPECT_FALSE(HasStagedFiles(Folder() / "data"));
  EXPECT_FALSE(HasStagedFiles(UserDirectory().parent_path()));
}

TEST_F(DemoTest, RefusesABadTargetBeforeTouchingTheUserDirectory) {
  MarkUserDirectory();
  const auto refuse = [&](const fs::path& folder, const std::string& reason) {
    const ChildResult result = Run({"demo", folder.string()});
    EXPECT_EQ(ExitCode(result), 1) << folder;
    EXPECT_NE(result.errors.find(reason), std::string::npos) << result.errors;
    ExpectUserDirectoryKept();
  };

  // Another program's archive.
  const fs::path foreign = Folder() / "foreign";
  fs::create_directories(foreign);
  std::ofstream(foreign / "archivio.fdb") << "not the demo's";
  refuse(foreign, (foreign / "archivio.fdb").string() + " exists and was not created by the demo");
  EXPECT_EQ(Content(foreign / "archivio.fdb"), "not the demo's");

  // A folder that cannot be made.
  std::ofstream(Folder() / "plain-file") << "x";
  refuse(Folder() / "plain-file" / "data", "cannot create the folder " + (Folder() / "plain-file" / "data").string());

  // A dati.ini that would send the connections to another database.
  const fs::path redirected = Folder() / "redirected";
  fs::create_directories(redirected);
  std::ofstream(redirected / "dati.ini") << "[CONFIG]\r\nPercorsoDatabase=/srv/vero/archivio.fdb\r\n";
  refuse(redirected, (redirected / "dati.ini").string() + " would send the demo's connections elsewhere");

  // The demo's marker copied beside another program's archive proves nothing.
  const fs::path copied = Folder() / "copied";
  fs::create_directories(copied);
  std::ofstream(copied / "archivio.fdb") << "not the demo's";
  fs::copy_file(Archive().string() + ".demo", copied / "archivio.fdb.demo");
  refuse(copied, (copied / "archivio.fdb").string() + " exists and was not created by the demo");
  EXPECT_EQ(Content(copied / "archivio.fdb"), "not the demo's");

  // A folder too long for the users' parameters that store the demo's paths.
  const fs::path deep = Folder() / std::string(250, 'd');
  refuse(deep, "whose values hold at most 256 characters");
}

TEST_F(DemoTest, RefusesToReplaceADatabaseThatAnotherProcessHasOpen) {
  // isql commits a row into the user directory and keeps it open; the failing statement after the
  // commit writes to its unbuffered error output, which tells that it got that far.
  ChildProcess isql("isql-fb", {"-user", "SYSDBA", "-password", "quillbank", UserDirectory().string()});
  isql.Write("INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (7, 'In uso', 'DEMO SRL');\nCOMMIT;\n"
             "SELECT * FROM COMMITTED_NOW;\n");
  ASSERT_TRUE(isql.WaitForErrors("COMMITTED_NOW", 60s)) << isql.Output() << isql.Errors();

  const ino_t before = Inode(UserDirectory());
  const ChildResult refused = Run({"demo", (Folder() / "data").string()});
  EXPECT_EQ(ExitCode(refused), 1);
  EXPECT_NE(refused.errors.find(UserDirectory().string() + " is in use: process " + std::to_string(isql.Pid())),
            std::string::npos)
      << refused.errors;
  EXPECT_EQ(Inode(UserDirectory()), before);

  isql.CloseInput();
  ASSERT_TRUE(isql.Wait(60s).has_value());
  ExpectUserDirectoryKept();
  // Once the other program is gone the demo goes ahead.
  EXPECT_EQ(ExitCode(Run({"demo", (Folder() / "data").string()})), 0);
}

TEST_F(DemoTest, FolderWithAccentedLettersWorksInAnyLocale) {
  for (const char* locale : {"LC_ALL=C.UTF-8", "LC_ALL=C"}) {
    SCOPED_TRACE(locale);
    const fs::path folder = Folder() / (std::string("Città dati ") + locale);
    const ChildResult demo = Run({"demo", folder.string()}, {}, {locale});
    EXPECT_EQ(ExitCode(demo), 0) << demo.errors;
    const ChildResult validated = Run({"validate", "1", "BOL-1001"}, {}, {locale});
    EXPECT_EQ(validated.output, "OK\n") << validated.errors;
    EXPECT_FALSE(HasStagedFiles(folder));
  }
}

}  // namespace
}  // namespace brontelx::testing
