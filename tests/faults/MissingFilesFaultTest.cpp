#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "library/HostWindows.h"
#include "tests/forms/WindowChecks.h"
#include "tests/support/LoadedLibrary.h"
#include "tests/support/Sql.h"
#include "tests/support/ValidationFixture.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using testing::Click;

void Overwrite(const fs::path& file, const std::string& bytes) {
  fs::remove(file);
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string RandomBytes(std::size_t count) {
  std::mt19937 generator(42);
  std::string bytes(count, '\0');
  for (char& byte : bytes) byte = static_cast<char>(generator());
  return bytes;
}

// Files that vanish, turn into something else or were never right: each gives its message through
// the entry point or as a result text, and nothing is written.
class MissingFilesFaultTest : public testing::ValidationFixture {
 protected:
  void SetUp() override {
    ValidationFixture::SetUp();
    AddDeliveryNote("B1");
    Log(1, 1, kUser, "APERTURA");
  }

  void TearDown() override {
    fs::remove(archiveFile.Folder() / "dati.ini");
    ValidationFixture::TearDown();
  }

  // Opens the test window through the entry point; "" when it opened, else the library's message.
  std::string Open() { return library.showTest(kUser, kWindowLogId) == 0 ? "" : library.LastError(); }

  const testing::LoadedLibrary library{BRONTELX_LIBRARY_PATH};
};

TEST_F(MissingFilesFaultTest, DatabasesThatGoAwayBetweenRuns) {
  auto& form = ShowHostWindow<TVelCollaudiPersonalizzazioniForm>(kUser, kWindowLogId);
  const std::string handle = LoggedHandle();
  form.Window().SetText(velcollaudi::kEditDatoAcquisito, "B1");
  Click(form, velcollaudi::kButtonTestVelZidBol);
  EXPECT_EQ(form.Window().Text(velcollaudi::kEditRisultato), "OK");

  const std::string cannotConnect = "ERR - Impossibile connettersi al database RUX (" + ruxFile.Path() + "): ";
  fs::remove(ruxFile.Path());
  Click(form, velcollaudi::kButtonTestVelZidBol);
  EXPECT_EQ(form.Window().Text(velcollaudi::kEditRisultato).rfind(cannotConnect, 0), 0u) << form.Window().Text(velcollaudi::kEditRisultato);
  Overwrite(ruxFile.Path(), RandomBytes(65536));
  Click(form, velcollaudi::kButtonTestVelZidBol);
  const std::string notADatabase = form.Window().Text(velcollaudi::kEditRisultato);
  EXPECT_EQ(notADatabase.rfind(cannotConnect, 0), 0u) << notADatabase;
  EXPECT_NE(notADatabase.find(ruxFile.Path()), notADatabase.rfind(ruxFile.Path())) << notADatabase;

  // The archive goes: the open window keeps its attachment, a new one cannot start.
  archive.Close();
  fs::remove(archiveFile.Path());
  const std::string failed = Open();
  EXPECT_EQ(failed.rfind("Fallita connessione all'archivio \"" + archiveFile.Path() + "\"\r\n", 0), 0u) << failed;
  EXPECT_EQ(LoggedHandle(), handle);
  EXPECT_TRUE(errors.empty());
}

TEST_F(MissingFilesFaultTest, DatiIniBesideTheArchive) {
  const fs::path ini = archiveFile.Folder() / "dati.ini";
  // Bytes that hold no section: the archive is a local file as without dati.ini.
  Overwrite(ini, RandomBytes(4096));
  EXPECT_EQ(Open(), "");
  // Ten megabytes, the section at the end names a server with neither disk nor path.
  std::string big;
  while (big.size() < 10'000'000) big += "; riga di commento che non dice niente di utile\r\n";
  big += "[CONFIG]\r\nNome Server=SRVDATI\r\n";
  Overwrite(ini, big);
  const std::string incomplete = Open();
  EXPECT_EQ(incomplete.rfind("Fallita connessione all'archivio \"" + archiveFile.Path() + "\"\r\n", 0), 0u)
      << incomplete;
  EXPECT_NE(incomplete.find("Riferimenti file .ini incompleti"), std::string::npos) << incomplete;
  EXPECT_EQ(testing::QueryText(users, "SELECT COUNT(*) FROM TELVILOGFUNZ WHERE HANDLEFINESTRA IS NOT NULL"), "1");
}

TEST_F(MissingFilesFaultTest, UserDirectoryMissingOrNoDatabase) {
  const std::string path = userDirectory->Path();
  users.Close();
  fs::remove(path);
  std::string message = Open();
  EXPECT_NE(message.find(path), std::string::npos) << message;
  Overwrite(path, "not a database\n");
  message = Open();
  EXPECT_NE(message.find(path), std::string::npos) << message;
  EXPECT_EQ(TopLevelWindows(), 0);
}

}  // namespace
}  // namespace brontelx
