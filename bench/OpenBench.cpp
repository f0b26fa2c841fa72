// Opening and closing a database: OpenIBDatabase + Close against the plain attach and detach.
#include <memory>

#include "bench/Fixtures.h"
#include "bench/FloorApi.h"
#include "bench/Registration.h"
#include "database/Connection.h"
#include "database/DRKDBUtility.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::bench {
namespace {

// An archive nobody keeps open, so every attach opens the file.
struct OpenDatabase {
  testing::TestDatabase database{schema::Kind::Archive};
  const std::string path = database.Path();
};

Side Library() {
  auto connection = std::make_shared<db::Connection>();
  Side side{[connection, &path = Shared<OpenDatabase>().path] {
    OpenIBDatabase(*connection, path);
    connection->Close();
  }};
  side.run();
  return side;
}

Side Floor() {
  auto status = std::make_shared<db::Status>();
  Side side{[status, &path = Shared<OpenDatabase>().path] {
    Firebird::IAttachment* attachment = floor::Attach(*status, path);
    attachment->detach(status->Get());
  }};
  side.run();
  return side;
}

}  // namespace

void RegisterOpenBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "1 OpenIBDatabase+Close, embedded: library/floor", "OpenIBDatabase+Close", Library, Floor,
               {1.10});
}

}  // namespace brontelx::bench
