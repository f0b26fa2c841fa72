#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/host/ToolFixture.h"

namespace brontelx::testing {
namespace {

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

using InfoTest = ToolFixture;

TEST_F(InfoTest, ShowsEachDatabaseHowItIsReachedAndThatItAttaches) {
  // A dati.ini beside the user directory naming the same file by another path.
  const std::string otherPath = (Folder() / "bin" / "user" / "." / "user.fdb").string();
  std::ofstream(UserDirectory().parent_path() / "dati.ini") << "[CONFIG]\r\nPercorsoDatabase=" << otherPath << "\r\n";

  const ChildResult info = Run({"info", "1"});
  EXPECT_EQ(ExitCode(info), 0) << info.output << info.errors;
  const char* lockFolder = std::getenv("FIREBIRD_LOCK");
  const std::string expected[] = {
      "Lock folder: " + std::string(lockFolder ? lockFolder : "/tmp/firebird") + ": usable\n",
      "User directory: " + UserDirectory().string() + "\n",
      "  dati.ini: " + (UserDirectory().parent_path() / "dati.ini").string() + ": PercorsoDatabase=" + otherPath + "\n",
      "  connection string: " + otherPath + "\n",
      "User 1: Mario Rossi, company DEMO SRL\n",
      "Archive (\"Archivio\"): " + Archive().string() + "\n",
      "  dati.ini: none (" + (Archive().parent_path() / "dati.ini").string() + ")\n",
      "  connection string: " + Archive().string() + "\n",
      "Delivery notes (\"VelZidBolDBRux\"): " + DeliveryNotes().string() + "\n",
      "  connection string: " + DeliveryNotes().string() + "\n",
  };
  for (const std::string& line : expected) EXPECT_NE(info.output.find(line), std::string::npos) << line << info.output;
  EXPECT_EQ(Count(info.output, "  attaches: yes\n"), 3u);
}

TEST_F(InfoTest, SaysWhatDoesNotAttachAndWhy) {
  // No server listens on port 1 of the loopback address: the client reports the refused connection.
  Exec(Archive(), "UPDATE TABX SET TESTO = '127.0.0.1/1:/dati/rux.fdb' WHERE NOME = 'VelZidBolDBRux'");
  const ChildResult refused = Run({"info", "1"});
  EXPECT_EQ(ExitCode(refused), 3);
  EXPECT_EQ(Count(refused.output, "  attaches: yes\n"), 2u);
  const std::string failed = "  connection string: 127.0.0.1/1:/dati/rux.fdb\n  attaches: no: ";
  const std::size_t at = refused.output.find(failed);
  ASSERT_NE(at, std::string::npos) << refused.output;
  EXPECT_NE(refused.output[at + failed.size()], '\n') << "the client's message follows";
  EXPECT_NE(refused.output.find("\n  hint: no Firebird server answers there"), std::string::npos) << refused.output;

  // A location that names the archive: it attaches, but it is not a delivery-note database.
  Exec(Archive(), "UPDATE TABX SET TESTO = '" + Archive().string() + "' WHERE NOME = 'VelZidBolDBRux'");
  const ChildResult wrong = Run({"info", "1"});
  EXPECT_EQ(ExitCode(wrong), 1);
  EXPECT_EQ(Count(wrong.output, "  attaches: yes\n"), 2u);
  EXPECT_NE(wrong.output.find("  attaches: no table BOLLE"), std::string::npos) << wrong.output;

  const ChildResult noUser = Run({"info", "42"});
  EXPECT_EQ(ExitCode(noUser), 1);
  EXPECT_NE(noUser.output.find("User 42: Utente 42 non trovato\n"), std::string::npos) << noUser.output;

  Exec(UserDirectory(), "DELETE FROM TABQUADREL WHERE UTENTE = 1 AND PARAMETRO = 'Archivio'");
  const ChildResult noArchive = Run({"info", "1"});
  EXPECT_EQ(ExitCode(noArchive), 1);
  EXPECT_NE(noArchive.output.find("Archive (\"Archivio\"): not set for company DEMO SRL\n"), std::string::npos)
      << noArchive.output;

  std::filesystem::remove(UserDirectory());
  const ChildResult noDirectory = Run({"info", "1"});
  EXPECT_EQ(ExitCode(noDirectory), 3);
  EXPECT_NE(noDirectory.output.find("  attaches: no: "), std::string::npos) << noDirectory.output;
  EXPECT_EQ(noDirectory.output.find("User 1"), std::string::npos);

  EXPECT_EQ(ExitCode(Run({"info", "uno"})), 2);
}

// The administrator's commands read and write what a session and the settings window do.
TEST_F(InfoTest, UsersAndLocationShowAndStoreWhatTheWindowsUse) {
  const ChildResult users = Run({"users"});
  EXPECT_EQ(ExitCode(users), 0) << users.errors;
  EXPECT_EQ(users.output.rfind("code\tname\tcompany\tArchivio\n1\tMario Rossi\tDEMO SRL\t" + Archive().string() + "\n", 0),
            0u) << users.output;

  const ChildResult read = Run({"location", "1"});
  EXPECT_EQ(ExitCode(read), 0) << read.errors;
  EXPECT_EQ(read.output, DeliveryNotes().string() + "\n");
  // Stored as typed, blanks included, for every user of the archive.
  const ChildResult stored = Run({"location", "1", " srv/3050:/dati/rux.fdb "});
  EXPECT_EQ(ExitCode(stored), 0) << stored.errors;
  EXPECT_EQ(Query(Archive(), "SELECT '[' || TESTO || ']' FROM TABX WHERE NOME = 'VelZidBolDBRux'"),
            "[ srv/3050:/dati/rux.fdb ]");
  EXPECT_EQ(Run({"location", "2"}).output, " srv/3050:/dati/rux.fdb \n");
  EXPECT_EQ(ExitCode(Run({"location", "1", ""})), 0);
  EXPECT_EQ(ExitCode(Run({"location", "1"})), 1);
  EXPECT_EQ(ExitCode(Run({"location", "42"})), 2);
}

}  // namespace
}  // namespace brontelx::testing
