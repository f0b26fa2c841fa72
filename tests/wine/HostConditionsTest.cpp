// BrontelX.dll in the conditions of real 32-bit hosts, against the databases of the end-to-end
// installation on the private server (brontelx_end_to_end_tests lays it out and runs this program in
// the host's folder): the process has loaded the toolchain's shared libgcc before the library, the
// host destroys windows itself or lets their thread end or exits with them open, and unloads the
// library while a thread that called it still runs. Sessions are counted as attachments on the
// server, control names as global atoms.
//   BRONTELX_LIBRARY         the DLL's Windows path
//   BRONTELX_USER_DATABASE   the user directory's connection string
//   BRONTELX_ARCHIVE         user 1's archive's connection string
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "host/win32/ExportCall.h"
#include "host/win32/MessagePump.h"
#include "platform/win32/WideText.h"
#include "tests/support/Sql.h"

namespace brontelx {
namespace {

using platform::win32::ToWide;

constexpr std::int32_t kUser = 1;
// A user whose archive lies on a server that does not answer.
constexpr std::int32_t kUserWithoutArchive = 2;
// The toolchain's shared runtime, beside this program, loaded before the library as a host built
// with the toolchain's defaults has it.
constexpr wchar_t kSharedLibgcc[] = L"libgcc_s_dw2-1.dll";
// Names of controls of both windows, as their atoms spell them.
constexpr const wchar_t* kControlAtoms[] = {L"BrontelX.Control:ButtonChiudi", L"BrontelX.Control:EditRisultato",
                                            L"BrontelX.Control:EditVelZidBolDBRux"};

// An environment setting as UTF-8: read in UTF-16, since the ANSI code page may not hold the
// paths it names.
std::string Setting(const wchar_t* name) {
  const wchar_t* value = _wgetenv(name);
  if (!value || !*value) throw std::runtime_error(platform::win32::ToUtf8(name) + " is not set");
  return platform::win32::ToUtf8(value);
}

// The library loaded by this test, as a host loads it, and freed again at the test's end.
class Library {
 public:
  Library() : module_(winhost::LoadHostLibrary(ToWide(Setting(L"BRONTELX_LIBRARY")))) {}
  ~Library() { FreeLibrary(module_); }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // Calls the entry with ordinal 4 (test window) or 5 (settings window).
  std::int32_t Show(int ordinal, std::int32_t user, std::int32_t windowLog) const {
    return winhost::CallShowEntry(winhost::FindExport(module_, "#" + std::to_string(ordinal)), user, windowLog);
  }
  std::string LastError() const { return winhost::CallErrorEntry(winhost::FindExport(module_, "GetUltimoErroreX")); }

 private:
  HMODULE module_;
};

class HostConditionsTest : public ::testing::Test {
 protected:
  HostConditionsTest() {
    OpenIBDatabase(users, Setting(L"BRONTELX_USER_DATABASE"));
    OpenIBDatabase(archive, Setting(L"BRONTELX_ARCHIVE"));
  }

  // Non-system attachments besides the test's own: the sessions of the library's windows.
  static std::int64_t Sessions(db::Connection& database) {
    return testing::QueryInt(database,
                             "SELECT COUNT(*) FROM MON$ATTACHMENTS WHERE MON$SYSTEM_FLAG = 0 AND "
                             "MON$ATTACHMENT_ID <> CURRENT_CONNECTION");
  }
  std::pair<std::int64_t, std::int64_t> SessionCounts() { return {Sessions(users), Sessions(archive)}; }

  // A window-log row of its own for each window, as the host writes before each call.
  void NewWindowLogRow(std::int32_t id) {
    testing::ExecSql(users, "UPDATE OR INSERT INTO TELVILOGFUNZ (IDFINESTRA, FUNZIONE, DATAAPERTURA) VALUES (" +
                                std::to_string(id) + ", 'BrontelX', CURRENT_TIMESTAMP) MATCHING (IDFINESTRA)");
  }
  HWND LoggedWindow(std::int32_t id) {
    const std::string handle =
        testing::QueryText(users, "SELECT HANDLEFINESTRA FROM TELVILOGFUNZ WHERE IDFINESTRA = " + std::to_string(id));
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::stoull(handle)));
  }

  // The control names whose atoms exist.
  static std::vector<std::wstring> ControlAtoms() {
    std::vector<std::wstring> present;
    for (const wchar_t* name : kControlAtoms) {
      if (GlobalFindAtomW(name)) present.emplace_back(name);
    }
    return present;
  }

  db::Connection users;
  db::Connection archive;
};

TEST_F(HostConditionsTest, FailingCallsReturnMinusOneAndTheirMessageBesideTheSharedRuntime) {
  ASSERT_NE(GetModuleHandleW(kSharedLibgcc), nullptr);
  const Library library;
  const struct {
    std::int32_t user;
    std::string message;
  } cases[] = {
      {42, "Utente 42 non trovato"},
      {kUserWithoutArchive, "Fallita connessione all'archivio"},
  };
  for (const auto& failure : cases) {
    for (const int ordinal : {4, 5}) {
      EXPECT_EQ(library.Show(ordinal, failure.user, 100), -1) << "#" << ordinal << " for user " << failure.user;
      EXPECT_EQ(library.LastError().rfind(failure.message, 0), 0u) << library.LastError();
    }
  }
}

TEST_F(HostConditionsTest, WindowsTheHostDestroysReleaseTheirSessions) {
  const Library library;
  const auto before = SessionCounts();
  std::vector<HWND> windows;
  for (std::int32_t id = 200; id < 206; ++id) {
    NewWindowLogRow(id);
    ASSERT_EQ(library.Show(id % 2 ? 5 : 4, kUser, id), 0) << library.LastError();
    windows.push_back(LoggedWindow(id));
  }
  winhost::PumpWaiting();
  EXPECT_EQ(SessionCounts(), std::make_pair(before.first + 6, before.second + 6));

  for (const HWND window : windows) EXPECT_TRUE(DestroyWindow(window));
  winhost::PumpWaiting();
  EXPECT_EQ(SessionCounts(), before);
}

TEST_F(HostConditionsTest, WindowsOfAThreadThatEndsReleaseTheirSessionsAndNames) {
  const Library library;
  const auto before = SessionCounts();
  std::int32_t results[2] = {-1, -1};
  std::pair<std::int64_t, std::int64_t> whileOpen;
  std::thread([&] {
    results[0] = library.Show(4, kUser, 100);
    results[1] = library.Show(5, kUser, 101);
    winhost::PumpWaiting();
    whileOpen = SessionCounts();
  }).join();
  EXPECT_EQ(results[0], 0);
  EXPECT_EQ(results[1], 0);
  EXPECT_EQ(whileOpen, std::make_pair(before.first + 2, before.second + 2));
  EXPECT_EQ(SessionCounts(), before);
  EXPECT_EQ(ControlAtoms(), std::vector<std::wstring>());
}

TEST_F(HostConditionsTest, AHostThatExitsWithWindowsOpenLeavesNoControlNames) {
  EXPECT_EXIT(
      {
        const Library library;
        const bool opened = library.Show(4, kUser, 100) == 0 && library.Show(5, kUser, 101) == 0;
        winhost::PumpWaiting();
        ExitProcess(opened && !ControlAtoms().empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(ControlAtoms(), std::vector<std::wstring>());
}

TEST_F(HostConditionsTest, AThreadThatCalledTheLibraryEndsCleanlyAfterTheHostUnloadedIt) {
  EXPECT_EXIT(
      {
        auto library = std::make_unique<Library>();
        HANDLE called = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        HANDLE unloaded = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        std::string message;
        std::thread caller([&] {
          library->Show(4, 42, 100);
          message = library->LastError();
          SetEvent(called);
          WaitForSingleObject(unloaded, INFINITE);
        });
        WaitForSingleObject(called, INFINITE);
        library.reset();
        const bool gone = GetModuleHandleW(L"BrontelX.dll") == nullptr;
        SetEvent(unloaded);
        caller.join();
        ExitProcess(gone && message == "Utente 42 non trovato" && !GetModuleHandleW(L"BrontelX.dll") ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace brontelx

int main(int argc, char** argv) {
  if (!LoadLibraryW(brontelx::kSharedLibgcc)) {
    std::fprintf(stderr, "%ls cannot be loaded: %s\n", brontelx::kSharedLibgcc,
                 brontelx::platform::win32::SystemMessage(GetLastError()).c_str());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  // Like a host, the program never shuts the Firebird client down.
  return RUN_ALL_TESTS();
}
