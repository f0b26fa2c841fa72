#include <gtest/gtest.h>

#include <string>

#include "host/FailureHint.h"

namespace brontelx::cli {
namespace {

// Each cause a site meets, as the client or the library words it, gets the hint that tells what to
// do; a message that shows no known cause gets none.
TEST(FailureHintTest, EachRecognisableCauseGetsItsHint) {
  const struct {
    std::string message;
    std::string hintPart;
  } cases[] = {
      {"Can not access lock files directory /srv/lock.tmp.Iy7t66", "FIREBIRD_LOCK"},
      {"I/O error during \"lock\" operation for file \"/d/rux.fdb\"\n-Database already opened with engine instance, "
       "incompatible with current",
       "firebird/ folder beside the library"},
      {"Cannot load the Firebird client library libfbclient.so.2: libfbclient.so.2: cannot open shared object file",
       "libfbclient2"},
      {"Cannot load the Firebird client library fbclient.dll: Module not found.", "fbclient.dll, of the host's bitness"},
      {"unavailable database", "firebird3.0-server-core"},
      {"Your user name and password are not defined. Ask your database administrator to set up a Firebird login.",
       "SYSDBA"},
      {"Unable to complete network request to host \"nessuno\".\n-Failed to locate host machine.", "Nome Server"},
      {"Unable to complete network request to host \"127.0.0.1\".\n-Failed to establish a connection.",
       "start it, check the name, the port"},
      {"Fallita connessione all'archivio \"/d/a.fdb\"\r\nI/O error during \"open\" operation for file \"/d/a.fdb\"\n"
       "-Error while trying to open file\n-No such file or directory",
       "no database file at this path"},
  };
  for (const auto& [message, hintPart] : cases) {
    EXPECT_NE(FailureHint(message).find(hintPart), std::string::npos) << message << "\n -> " << FailureHint(message);
  }
  EXPECT_EQ(FailureHint("Utente 42 non trovato"), "");
}

}  // namespace
}  // namespace brontelx::cli
