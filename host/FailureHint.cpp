#include "host/FailureHint.h"

namespace brontelx::cli {
namespace {

struct Cause {
  std::string_view sign;  // a part of the client's or the library's message
  std::string_view hint;
};

// In order: a message may show several signs (an I/O error names the file as well), the first
// cause listed wins.
constexpr Cause kCauses[] = {
    {"lock files directory",
     "the Firebird engine cannot use its lock folder: set FIREBIRD_LOCK to a folder that every user of these "
     "database files can write (docs/DEPLOYMENT.md, \"Lock folder\")"},
    {"engine instance, incompatible",
     "another program has this file open with a different Firebird configuration: every program that opens it "
     "without a server must find the firebird/ folder beside the library (or beside itself) as installed"},
    {"fbclient.dll",
     "put the Firebird client fbclient.dll, of the host's bitness, beside the host's executable"},
    {"libfbclient.so",
     "install the Firebird client: Debian package libfbclient2"},
    {"unavailable database",
     "no Firebird engine for database files on this machine: install the Debian package firebird3.0-server-core, "
     "or name a server in the dati.ini beside the database"},
    {"user name and password are not defined",
     "the server does not accept the login every connection uses (SYSDBA and the product's password): "
     "docs/DEPLOYMENT.md, \"The login\""},
    {"Failed to locate host machine",
     "the server's name is unknown here: check \"Nome Server\" or the connection string, and name resolution"},
    {"Failed to establish a connection",
     "no Firebird server answers there: start it, check the name, the port and the firewall"},
    {"No such file or directory",
     "no database file at this path (on the server, for a connection string that names one): check the path, "
     "\"PercorsoDatabase\" or \"Archivio\""},
};

}  // namespace

std::string FailureHint(std::string_view message) {
  for (const Cause& cause : kCauses) {
    if (message.find(cause.sign) != std::string_view::npos) return std::string(cause.hint);
  }
  return {};
}

}  // namespace brontelx::cli
