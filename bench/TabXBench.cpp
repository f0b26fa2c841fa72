// Repeated reads of one named value: 1000 GetParametroTesto calls on one TDRKTabX against a
// statement prepared once and run 1000 times in the same transactions.
#include <stdexcept>

#include "TestDatabase.h"
#include "DRKDBUtility.h"
#include "DRKTabX.h"
#include "Fixtures.h"
#include "FloorApi.h"
#include "Registration.h"

namespace brontelx::bench {
namespace {

constexpr int kCalls = 1000;
constexpr char kName[] = "VelZidBolDBRux";
constexpr char kValue[] = "127.0.0.1:/dati/rux.fdb";
constexpr char kTabXRead[] =
    "SELECT\n  TESTO,\n  MEMO\nFROM\n  TABX\nWHERE\n  NOME=?\n  AND\n  UTENTE IS NOT DISTINCT FROM ?";

// An archive holding the shared value, attached through the library and on the plain API.
struct TabXArchive {
  testing::TestDatabase database{schema::Kind::Archive};
  const std::string path = database.Path();
  db::Connection library;
  db::FbHandle<Firebird::IAttachment> raw;

  TabXArchive() {
    OpenIBDatabase(library, path);
    TDRKTabX tabX;
    tabX.SetDatabase(&library);
    tabX.SetParametroTesto(kName, kValue, 0);
    db::Status status;
    raw = db::FbHandle<Firebird::IAttachment>(floor::Attach(status, path));
  }
};

void Library(benchmark::State& state) {
  TDRKTabX tabX;
  tabX.SetDatabase(&Shared<TabXArchive>().library);
  // The first call prepares the statement; the measured calls reuse it.
  if (tabX.GetParametroTesto(kName, 0) != kValue) throw std::runtime_error("the value does not read back");
  for (auto _ : state) {
    for (int i = 0; i < kCalls; ++i) {
      std::string value = tabX.GetParametroTesto(kName, 0);
      benchmark::DoNotOptimize(value);
    }
  }
}

void Floor(benchmark::State& state) {
  Firebird::IAttachment* attachment = Shared<TabXArchive>().raw.get();
  db::Status status;
  Firebird::ITransaction* transaction =
      attachment->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
  Firebird::IStatement* read =
      attachment->prepare(status.Get(), transaction, 0, kTabXRead, floor::kDialect, floor::kPrepareFlags);
  transaction->commit(status.Get());
  floor::Message input = floor::InputOf(status, read);
  floor::Message output = floor::OutputOf(status, read);

  for (auto _ : state) {
    for (int i = 0; i < kCalls; ++i) {
      transaction =
          attachment->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
      input.SetText(0, kName);
      input.SetNull(1);
      Firebird::IResultSet* cursor =
          read->openCursor(status.Get(), transaction, input.Metadata(), input.Data(), output.Metadata(), 0);
      std::string value;
      if (cursor->fetchNext(status.Get(), output.Data()) == Firebird::IStatus::RESULT_OK)
        value = output.Text(0);
      cursor->close(status.Get());
      transaction->commit(status.Get());
      benchmark::DoNotOptimize(value);
    }
  }
  read->free(status.Get());
}

}  // namespace

void RegisterTabXBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "4 1000 x GetParametroTesto: library/floor", "GetParametroTesto_x1000", Library, Floor,
               1.10);
}

}  // namespace brontelx::bench
