#include "host/SessionStart.h"

#include <exception>
#include <string>

#include "host/DatabaseContext.h"

namespace brontelx::cli {

void StartSession(TSessione& session, std::int32_t user) {
  const std::string userDirectory = TDRKUser::DefaultFileName();
  try {
    session.DRKUser().ConnettiDB();
  } catch (const std::exception& e) {
    throw UnreachableDatabase("cannot attach the user directory", userDirectory, e.what());
  }
  session.DRKUser().SetCodiceUtente(user);
  // Read once for the message; CheckIBDatabase reads it again as a window does.
  const std::string archive = session.Parametri().Archivio();
  if (archive.empty()) {
    session.CheckIBDatabase();  // throws the session's own "not configured" error
    return;
  }
  try {
    session.CheckIBDatabase();
  } catch (const std::exception& e) {
    throw UnreachableDatabase("cannot attach the company archive (\"Archivio\" of user " + std::to_string(user) + ")",
                              archive, e.what());
  }
}

}  // namespace brontelx::cli
