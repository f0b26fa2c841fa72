#include "database/DBConnectionInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Error.h"
#include "base/WinPath.h"

namespace brontelx {
namespace {

struct Description {
  std::string fileName, server, disk, path, alias, expected;
};

std::string ConnectionString(const Description& d) {
  TDBConnectionInfo info;
  info.FileName = d.fileName;
  info.NomeServer = d.server;
  info.LetteraDiscoServer = d.disk;
  info.PercorsoDatabase = d.path;
  info.Alias = d.alias;
  return info.GetIBFileName();
}

void ExpectConnectionStrings(const std::vector<Description>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fileName + " | " + c.server + " | " + c.disk + " | " + c.path + " | " + c.alias);
    EXPECT_EQ(ConnectionString(c), c.expected);
  }
}

TEST(DBConnectionInfoTest, WorkedExamples) {
  const std::string local = R"(C:\Programmi\Archivio\archivio.fdb)";
  ExpectConnectionStrings({
      {local, "", "", "", "", local},
      {local, "", "", R"(D:\Database\Ditta.fdb)", "", R"(D:\Database\Ditta.fdb)"},
      {R"(\\SRVDATI\C\Programmi\Archivio\archivio.fdb)", "", "", "", "",
       R"(\\SRVDATI\C:\Programmi\Archivio\archivio.fdb)"},
      {R"(\\SRVDATI\C:\Programmi\Archivio\archivio.fdb)", "", "", "", "",
       R"(\\SRVDATI\C:\Programmi\Archivio\archivio.fdb)"},
      {local, "", "", R"(\\SRVDATI\D\Database\Ditta.fdb)", "", R"(\\SRVDATI\D:\Database\Ditta.fdb)"},
      {R"(SRVDATI:D:\Database\Ditta.fdb)", "", "", "", "", R"(SRVDATI:D:\Database\Ditta.fdb)"},
      {local, "", "", "", "DITTA", local},
      {local, "SRVDATI", "E", R"(E:\Database\Ditta.fdb)", "DITTA", "SRVDATI:DITTA"},
      {R"(E:\Programmi\Archivio\archivio.fdb)", "SRVDATI", "E", "", "",
       R"(\\SRVDATI\E:\Programmi\Archivio\archivio.fdb)"},
      {R"(e:\Programmi\Archivio\archivio.fdb)", "SRVDATI", "E", "", "",
       R"(\\SRVDATI\E:\Programmi\Archivio\archivio.fdb)"},
      {R"(\\NAS\Dati\Programmi\Archivio\archivio.fdb)", "SRVDATI", "E", "", "",
       R"(\\SRVDATI\E:\Programmi\Archivio\archivio.fdb)"},
      {local, "SRVDATI", "", R"(D:\Database\Ditta.fdb)", "", R"(\\SRVDATI\D:\Database\Ditta.fdb)"},
      {local, "SRVDATI", "D", R"(D:\Database\Ditta.fdb)", "", R"(\\SRVDATI\D:\Database\Ditta.fdb)"},
  });
  try {
    ConnectionString({local, "SRVDATI", "", "", "", ""});
    ADD_FAILURE() << "a server without disk letter or database path gave a connection string";
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(),
                 R"(Riferimenti file .ini incompleti (specificare "Lettera Disco Server" o "PercorsoDatabase"))");
  }
}

TEST(DBConnectionInfoTest, EdgeCases) {
  const std::string longFolder(100000, 'a');
  ExpectConnectionStrings({
      // Server and alias need nothing else; an alias without a server is ignored.
      {"", "SRVDATI", "", "", "DITTA", "SRVDATI:DITTA"},
      {R"(\\NAS\C\Dati\a.fdb)", "", "E", "", "DITTA", R"(\\NAS\C:\Dati\a.fdb)"},
      // The disk letter is used as stored.
      {R"(E:\Programmi\a.fdb)", "SRVDATI", "E:", "", "", R"(\\SRVDATI\E::\Programmi\a.fdb)"},
      // Named-pipe, host:path and extended-length local texts pass through the path form.
      {R"(\\SRVDATI\D:\Database\Ditta.fdb)", "", "", "", "", R"(\\SRVDATI\D:\Database\Ditta.fdb)"},
      {"127.0.0.1/3050:/srv/dati/ditta.fdb", "", "", "", "", "127.0.0.1/3050:/srv/dati/ditta.fdb"},
      {R"(\\?\C:\Dati\a.fdb)", "", "", "", "", R"(\\?\C:\Dati\a.fdb)"},
      // \\?\UNC\ counts as UNC: its drive part is \\?\UNC.
      {R"(\\?\UNC\SRV\C\Dati\a.fdb)", "", "", "", "", R"(\\?\UNC:\SRV\C\Dati\a.fdb)"},
      // A UNC FileName loses host and share in the server form.
      {R"(\\nas\dati\Arch\a.fdb)", "SRVDATI", "D", "", "", R"(\\SRVDATI\D:\Arch\a.fdb)"},
      {"", "", "", "", "", ""},
      {R"(C:\)" + longFolder + R"(\a.fdb)", "SRV", "C", "", "", R"(\\SRV\C:\)" + longFolder + R"(\a.fdb)"},
      {R"(\\H\C\)" + longFolder + R"(\a.fdb)", "", "", "", "", R"(\\H\C:\)" + longFolder + R"(\a.fdb)"},
  });
  // A disk letter is enough whatever FileName holds.
  for (const char* fileName : {"", "a.fdb", R"(SRV:D:\x.fdb)", R"(\\)", R"(\\?\UNC\)", ":"}) {
    EXPECT_EQ(ConnectionString({fileName, "SRVDATI", "E", "", "", ""}).rfind(R"(\\SRVDATI\E:\)", 0), 0u) << fileName;
  }
}

TEST(WinPathTest, PathNotions) {
  using namespace winpath;
  EXPECT_TRUE(IsUncText(R"(\\h)"));
  EXPECT_TRUE(IsUncText("\\\\\xC3\xA0"));  // à after the backslashes
  EXPECT_TRUE(IsUncText(R"(\\?\UNC\h\s)"));
  for (const char* text : {R"(\\)", R"(\\|h)", R"(\\"h)", R"(\\<h)", "\\\\\x1Fh", R"(\\?\C:\a)", R"(C:\a)"}) {
    EXPECT_FALSE(IsUncText(text)) << text;
  }
  EXPECT_EQ(DrivePart(R"(C:\a\b)"), "C:");
  EXPECT_EQ(DrivePart(R"(\\h\s\a\b)"), R"(\\h\s)");
  EXPECT_EQ(DrivePart(R"(\\h\s\)"), R"(\\h\s)");
  EXPECT_EQ(DrivePart(R"(\\h\)"), R"(\\h)");
  EXPECT_EQ(DrivePart(R"(SRV:D:\a)"), "");
  EXPECT_EQ(FolderPart(R"(SRV:D:\a.fdb)"), R"(SRV:D:\)");
  EXPECT_EQ(FolderPart("C:a.fdb"), "C:");
  EXPECT_EQ(FolderPart("a.fdb"), "");
  EXPECT_EQ(FileNamePart("C:a.fdb"), "a.fdb");
  EXPECT_EQ(FileNamePart("a.fdb"), "a.fdb");
  EXPECT_EQ(WithDelimiter(""), "\\");
  EXPECT_EQ(WithDelimiter(R"(C:\)"), R"(C:\)");
  EXPECT_EQ(Rel("E:", R"(e:\a\b)"), R"(a\b)");
  EXPECT_EQ(Rel(R"(\\H\S)", R"(\\h\s\a\)"), R"(a\)");
  EXPECT_EQ(Rel("E:", R"(C:\a)"), R"(C:\a)");
  EXPECT_EQ(Rel("", R"(\a)"), "a");
}

}  // namespace
}  // namespace brontelx
