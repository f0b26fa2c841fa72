// Starting a session: TSessione::Avvia (user directory, user row, "Archivio", archive) against the
// same two attaches and two queries on the plain API. Both sides also end with the two detaches,
// as the session's destruction does.
#include <memory>

#include "bench/Fixtures.h"
#include "bench/Registration.h"
#include "bench/SessionData.h"
#include "session/BrontelX.Classes.h"

namespace brontelx::bench {
namespace {

Side Library() {
  Side side{[] {
    TSessione session;
    session.Avvia(kSessionUser);
    benchmark::DoNotOptimize(session.DRKUser().NomeUtente());
  }};
  Shared<SessionDatabases>();
  side.run();
  return side;
}

Side Floor() {
  auto status = std::make_shared<db::Status>();
  Side side{[status, userFile = Shared<SessionDatabases>().userFile.string()] {
    FloorSession session = StartFloorSession(*status, userFile, kSessionUser);
    benchmark::DoNotOptimize(session.name);
    EndFloorSession(*status, session);
  }};
  side.run();
  return side;
}

}  // namespace

void RegisterSessionBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "5 TSessione::Avvia (+ destruction): library/floor", "Avvia", Library, Floor,
               {1.10});
}

}  // namespace brontelx::bench
