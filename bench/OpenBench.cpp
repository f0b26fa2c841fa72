// Opening and closing a database: OpenIBDatabase + Close against the plain attach and detach.
#include "TestDatabase.h"
#include "Connection.h"
#include "DRKDBUtility.h"
#include "Fixtures.h"
#include "FloorApi.h"
#include "Registration.h"

namespace brontelx::bench {
namespace {

// An archive nobody keeps open, so every attach opens the file.
struct OpenDatabase {
  testing::TestDatabase database{schema::Kind::Archive};
  const std::string path = database.Path();
};

void Library(benchmark::State& state) {
  const std::string& path = Shared<OpenDatabase>().path;
  db::Connection connection;
  for (auto _ : state) {
    OpenIBDatabase(connection, path);
    connection.Close();
  }
}

void Floor(benchmark::State& state) {
  const std::string& path = Shared<OpenDatabase>().path;
  db::Status status;
  floor::Dpb();
  for (auto _ : state) {
    Firebird::IAttachment* attachment = floor::Attach(status, path);
    attachment->detach(status.Get());
  }
}

}  // namespace

void RegisterOpenBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "1 OpenIBDatabase+Close, embedded: library/floor", "OpenIBDatabase+Close", Library, Floor,
               1.10);
}

}  // namespace brontelx::bench
