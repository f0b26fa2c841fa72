#include "bench/FloorSession.h"

#include <stdexcept>

namespace brontelx::bench {

FloorSession StartFloorSession(db::Status& status, const std::string& userFile, std::int32_t user) {
  // The statements exactly as the library sends them (named parameters become "?").
  const std::string userRow = "SELECT * FROM UTENTI WHERE CODICE=" + std::to_string(user);
  const std::string archivioLookup = "SELECT\n  VALORE\nFROM\n  TABQUADREL\nWHERE\n  UTENTE=" + std::to_string(user) +
                                     "\n  AND\n  INTESTAZIONE=?\n  AND\n  PARAMETRO=?";
  FloorSession session;
  session.users = floor::Attach(status, userFile);
  // The columns of UTENTI in order: CODICE, NOMEUTENTE, DITTA, PWDUTENTE, INFO2, PROFILOSICUREZZA.
  std::int64_t codice = 0;
  std::string password, info2;
  std::int64_t profilo = 0;
  FirstRow(
      status, session.users, userRow.c_str(), [](floor::Message&) {},
      [&](const floor::Message& row) {
        codice = row.Int(0);
        session.name = row.Text(1);
        session.company = row.Text(2);
        password = row.Text(3);
        info2 = row.Text(4);
        profilo = row.Int(5);
      });
  std::string archivio;
  FirstRow(
      status, session.users, archivioLookup.c_str(),
      [&](floor::Message& input) {
        input.SetText(0, session.company);
        input.SetText(1, "Archivio");
      },
      [&](const floor::Message& row) { archivio = row.Text(0); });
  if (codice != user || archivio.empty()) throw std::runtime_error("the user or its Archivio is missing");
  session.archive = floor::Attach(status, archivio);
  return session;
}

void EndFloorSession(db::Status& status, FloorSession& session) {
  if (session.users) session.users->detach(status.Get());
  session.users = nullptr;
  if (session.archive) session.archive->detach(status.Get());
  session.archive = nullptr;
}

}  // namespace brontelx::bench
