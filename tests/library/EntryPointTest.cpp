#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/FormsFixture.h"
#include "tests/support/LoadedLibrary.h"
#include "tests/support/Sql.h"

namespace brontelx {
namespace {

// The output of a command, run through the shell.
std::string Output(const std::string& command) {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  std::array<char, 256> buffer{};
  while (pipe && fgets(buffer.data(), buffer.size(), pipe.get())) output += buffer.data();
  return output;
}

class EntryPointTest : public testing::FormsFixture {
 protected:
  std::string LastError() const { return library.LastError(); }

  // The visible top-level windows, which only the library opens here.
  static std::vector<QWidget*> OpenWindows() {
    ProcessEvents();
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->isVisible()) windows.push_back(widget);
    }
    return windows;
  }

  const testing::LoadedLibrary library{BRONTELX_LIBRARY_PATH};
  const testing::LoadedLibrary::ShowFunction showSettings = library.showSettings;
  const testing::LoadedLibrary::ShowFunction showTest = library.showTest;
  const testing::LoadedLibrary::ErrorFunction lastError = library.lastError;
};

TEST_F(EntryPointTest, EachCallOpensAWindowWithASessionOfItsOwn) {
  const std::int64_t attachments = ArchiveAttachments();
  EXPECT_EQ(showTest(kUser, kWindowLogId), 0);
  EXPECT_EQ(lastError(nullptr, 0), 0);
  const std::string firstHandle = LoggedHandle();
  EXPECT_EQ(showTest(kUser, kWindowLogId), 0);
  EXPECT_EQ(showSettings(kUser, 99), 0);  // no such window-log row: the window opens all the same

  const std::vector<QWidget*> windows = OpenWindows();
  ASSERT_EQ(windows.size(), 3u);
  std::set<std::string> handles;
  for (QWidget* window : windows) handles.insert(std::to_string(window->winId()));
  EXPECT_EQ(handles.size(), 3u);
  EXPECT_TRUE(handles.count(firstHandle));
  EXPECT_TRUE(handles.count(LoggedHandle()));
  EXPECT_NE(firstHandle, LoggedHandle());
  EXPECT_EQ(ArchiveAttachments(), attachments + 3);

  for (QWidget* window : windows) window->close();
  EXPECT_TRUE(OpenWindows().empty());
  EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
  EXPECT_EQ(ArchiveAttachments(), attachments);
}

TEST_F(EntryPointTest, AFailedCallLeavesNoWindowAndExplainsWhy) {
  const std::int64_t attachments = ArchiveAttachments();
  EXPECT_EQ(showTest(42, kWindowLogId), -1);
  EXPECT_EQ(LastError(), "Utente 42 non trovato");
  EXPECT_EQ(LoggedHandle(), "");

  // A failure of the first showing: the window and its session are gone too.
  testing::ExecSql(archive, "DROP TABLE STOPOS1");
  EXPECT_EQ(showSettings(kUser, kWindowLogId), -1);
  EXPECT_NE(LastError().find("STOPOS1"), std::string::npos) << LastError();
  EXPECT_TRUE(OpenWindows().empty());
  EXPECT_EQ(QApplication::topLevelWidgets().size(), 0);
  EXPECT_EQ(ArchiveAttachments(), attachments);

  // A call that succeeds clears the message.
  testing::ExecSql(archive, "CREATE TABLE STOPOS1 (CodiceSituazione INTEGER, CodiceUtente INTEGER, "
                            "CodiceProgetto INTEGER, PosX INTEGER, PosY INTEGER, DimX INTEGER, DimY INTEGER)");
  EXPECT_EQ(showSettings(kUser, kWindowLogId), 0);
  EXPECT_EQ(LastError(), "");
}

TEST_F(EntryPointTest, TheMessageIsTruncatedOnACharacterBoundary) {
  const std::string archivio = archiveFile.Folder().string() + "/città.fdb";
  SetArchivio(archivio);
  EXPECT_EQ(showTest(kUser, kWindowLogId), -1);
  const std::string message = LastError();
  const std::string start = "Fallita connessione all'archivio \"" + archivio + "\"\r\n";
  ASSERT_EQ(message.rfind(start, 0), 0u) << message;

  const std::size_t accent = message.find("à");  // two bytes in UTF-8
  std::vector<char> buffer(accent + 2, 'x');
  // Room for the first byte of "à" only: the copy stops before the character.
  EXPECT_EQ(lastError(buffer.data(), static_cast<std::int32_t>(accent + 2)), static_cast<std::int32_t>(message.size()));
  EXPECT_EQ(std::string(buffer.data()), message.substr(0, accent));
  EXPECT_EQ(lastError(buffer.data(), 1), static_cast<std::int32_t>(message.size()));
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(lastError(nullptr, 100), static_cast<std::int32_t>(message.size()));
  buffer.assign(message.size() + 1, 'x');
  lastError(buffer.data(), static_cast<std::int32_t>(buffer.size()));
  EXPECT_EQ(std::string(buffer.data()), message);
}

TEST(LibraryTest, ExportsExactlyTheEntryPoints) {
  EXPECT_EQ(Output("nm -D --defined-only '" BRONTELX_LIBRARY_PATH "' | awk '{print $3}' | sort"),
            "GetUltimoErroreX\nShowVelCollaudiPersFormX\nShowVelDatiValidazPersFormX\n");
}

TEST(LibraryTest, OpensNothingWhenLoadedAndFailsClearlyWithoutAnApplication) {
  // A process without QApplication, the library loaded, called, unloaded. Once the library and the
  // libraries it brought are unloaded, the leak checker can no longer tell whose a block was (the
  // start-up block of Qt's OpenMP runtime gets blamed on whatever is mapped there next), so the probe
  // runs without it; every other test keeps the library loaded and is checked.
  const std::string report =
      Output("ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\" '" BRONTELX_LIBRARY_PROBE "' '" BRONTELX_LIBRARY_PATH "'");
  EXPECT_NE(report.find("load: nothing opened\n"), std::string::npos) << report;
  EXPECT_NE(report.find("call: -1 No QApplication exists: the host program must create its QApplication before it "
                        "opens a window\n"),
            std::string::npos)
      << report;
  // Recording the message of a failure never ends the host, even when memory runs out.
  EXPECT_NE(report.find("allocation failures: -1 and a message each time\n"), std::string::npos) << report;
}

}  // namespace
}  // namespace brontelx
