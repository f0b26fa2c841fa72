// Checks the way from 32-bit Windows code to a Firebird server that the library will take: loads
// fbclient.dll as Windows finds it (beside the program first), takes its master interface, creates a
// database on the server over TCP, reads back through the attachment what proves the way (its
// remote protocol, the user, UTF-8 text) and drops the database. One line per step; exits 0 when
// every step passed.
//
//   brontelx_fbclient_check SERVER DATABASE
//     SERVER    host/port of the server, e.g. 127.0.0.1/3050
//     DATABASE  where the server creates the database (a path on the server's machine)
//   brontelx_fbclient_check
//     as CTest runs it: SERVER from BRONTELX_FB_SERVER, DATABASE fbclient-check.fdb in the folder
//     BRONTELX_FB_DATA (on the server's machine); exit status 77 (skipped) when they are not set.
#include <windows.h>

#include <shellapi.h>

#include <firebird/Interface.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/WideText.h"

namespace {

using namespace Firebird;

constexpr char kPassword[] = "quillbank";
constexpr char kText[] = "Città €";

using GetMaster = IMaster*(ISC_EXPORT*)();

std::string ModulePath(HMODULE module) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(module, path, MAX_PATH);
  return path;
}

// The first column of the first row of `sql`, as text (CHAR or VARCHAR).
std::string FirstValue(ThrowStatusWrapper& status, IAttachment* attachment, ITransaction* transaction,
                       const char* sql) {
  IStatement* statement = attachment->prepare(&status, transaction, 0, sql, SQL_DIALECT_V6,
                                              IStatement::PREPARE_PREFETCH_METADATA);
  IMessageMetadata* metadata = statement->getOutputMetadata(&status);
  std::vector<unsigned char> row(metadata->getMessageLength(&status));
  IResultSet* cursor = statement->openCursor(&status, transaction, nullptr, nullptr, metadata, 0);
  std::string value;
  if (cursor->fetchNext(&status, row.data()) == IStatus::RESULT_OK) {
    const unsigned char* field = row.data() + metadata->getOffset(&status, 0);
    if ((metadata->getType(&status, 0) & ~1u) == SQL_VARYING) {
      const auto length = *reinterpret_cast<const ISC_USHORT*>(field);
      value.assign(reinterpret_cast<const char*>(field) + sizeof(ISC_USHORT), length);
    } else {
      value.assign(reinterpret_cast<const char*>(field), metadata->getLength(&status, 0));
      value.erase(value.find_last_not_of(' ') + 1);
    }
  }
  cursor->close(&status);
  statement->free(&status);
  metadata->release();
  return value;
}

bool Check(bool passed, const std::string& step) {
  std::printf("%s: %s\n", passed ? "ok" : "FAILED", step.c_str());
  return passed;
}

int Run(const std::string& server, const std::string& database) {
  const HMODULE client = LoadLibraryW(L"fbclient.dll");
  if (!Check(client != nullptr, "LoadLibrary(\"fbclient.dll\")")) return 1;
  std::printf("   from %s\n", ModulePath(client).c_str());
  const auto getMaster =
      reinterpret_cast<GetMaster>(reinterpret_cast<void (*)()>(GetProcAddress(client, "fb_get_master_interface")));
  if (!Check(getMaster != nullptr, "fb_get_master_interface exported")) return 1;
  IMaster* master = getMaster();
  if (!Check(master != nullptr, "master interface")) return 1;

  ThrowStatusWrapper status(master->getStatus());
  IUtil* util = master->getUtilInterface();
  const unsigned version = util->getClientVersion();
  std::printf("   client version %u.%u\n", version >> 8, version & 0xFF);
  IProvider* provider = master->getDispatcher();
  bool passed = true;
  try {
    IXpbBuilder* dpb = util->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&status, isc_dpb_password, kPassword);
    dpb->insertString(&status, isc_dpb_lc_ctype, "UTF8");
    dpb->insertString(&status, isc_dpb_set_db_charset, "UTF8");
    dpb->insertInt(&status, isc_dpb_connect_timeout, 15);
    dpb->insertTag(&status, isc_dpb_utf8_filename);
    const std::string location = server + ":" + database;
    IAttachment* attachment = provider->createDatabase(&status, location.c_str(), dpb->getBufferLength(&status),
                                                       dpb->getBuffer(&status));
    dpb->dispose();
    Check(true, "created " + location);
    ITransaction* transaction = attachment->startTransaction(&status, 0, nullptr);
    passed &= Check(FirstValue(status, attachment, transaction,
                               "SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                               "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION") == "TCPv4",
                    "attached over TCPv4");
    passed &= Check(FirstValue(status, attachment, transaction, "SELECT CURRENT_USER FROM RDB$DATABASE") == "SYSDBA",
                    "logged in as SYSDBA");
    const std::string echoed = FirstValue(
        status, attachment, transaction,
        (std::string("SELECT CAST('") + kText + "' AS VARCHAR(10) CHARACTER SET UTF8) FROM RDB$DATABASE").c_str());
    passed &= Check(echoed == kText, "UTF-8 text round-trips (" + echoed + ")");
    transaction->commit(&status);
    attachment->dropDatabase(&status);
    Check(true, "dropped the database");
  } catch (const FbException& error) {
    char message[1024];
    util->formatStatus(message, sizeof message, error.getStatus());
    passed = Check(false, message);
  }
  // Like the library, the check never shuts the client down; the process's end closes its
  // connections. (Shut down from under Wine, the 32-bit client left the test server unable to stop
  // for more than ten seconds.)
  provider->release();
  return passed ? 0 : 1;
}

}  // namespace

// The exit status CTest counts as skipped.
constexpr int kSkipped = 77;

// The arguments and settings are taken as UTF-16 and the database's path travels flagged as UTF-8:
// in the ANSI code page a non-ASCII build folder reached the client as bytes it could not read.
int main() {
  using brontelx::platform::win32::ToUtf8;
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv == nullptr || (argc != 3 && argc != 1)) {
    std::fprintf(stderr, "usage: brontelx_fbclient_check [SERVER DATABASE]\n");
    return 2;
  }
  std::string server;
  std::string database;
  if (argc == 3) {
    server = ToUtf8(argv[1]);
    database = ToUtf8(argv[2]);
  } else {
    const wchar_t* serverSetting = _wgetenv(L"BRONTELX_FB_SERVER");
    const wchar_t* dataSetting = _wgetenv(L"BRONTELX_FB_DATA");
    if (!serverSetting || !*serverSetting || !dataSetting || !*dataSetting) {
      std::printf("SKIPPED: BRONTELX_FB_SERVER and BRONTELX_FB_DATA name no Firebird server to reach\n");
      return kSkipped;
    }
    server = ToUtf8(serverSetting);
    database = ToUtf8(dataSetting) + "/fbclient-check.fdb";
  }
  LocalFree(argv);
  const int result = Run(server, database);
  std::printf("%s\n", result == 0 ? "fbclient check passed" : "fbclient check failed");
  return result;
}
