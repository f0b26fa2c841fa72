// Repeated reads of one named value: 1000 GetParametroTesto calls on one TDRKTabX against a
// statement prepared once and run 1000 times in the same transactions.
#include <memory>
#include <stdexcept>

#include "bench/Fixtures.h"
#include "bench/FloorApi.h"
#include "bench/Registration.h"
#include "database/DRKDBUtility.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKTabX.h"

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

Side Library() {
  auto tabX = std::make_shared<TDRKTabX>();
  tabX->SetDatabase(&Shared<TabXArchive>().library);
  // The first call prepares the statement; the measured calls reuse it.
  if (tabX->GetParametroTesto(kName, 0) != kValue) throw std::runtime_error("the value does not read back");
  return {[tabX] {
    for (int i = 0; i < kCalls; ++i) {
      std::string value = tabX->GetParametroTesto(kName, 0);
      benchmark::DoNotOptimize(value);
    }
  }};
}

// The read prepared once, with its messages; freed with the side.
class FloorRead {
 public:
  explicit FloorRead(Firebird::IAttachment* attachment)
      : attachment_(attachment), read_(Prepare(status_, attachment)), input_(floor::InputOf(status_, read_)),
        output_(floor::OutputOf(status_, read_)) {}
  ~FloorRead() {
    try {
      read_->free(status_.Get());
    } catch (...) {
      read_->release();
    }
  }
  FloorRead(const FloorRead&) = delete;
  FloorRead& operator=(const FloorRead&) = delete;

  std::string Read() {
    Firebird::ITransaction* transaction =
        attachment_->startTransaction(status_.Get(), sizeof floor::kTabXTpb, floor::kTabXTpb);
    input_.SetText(0, kName);
    input_.SetNull(1);
    Firebird::IResultSet* cursor =
        read_->openCursor(status_.Get(), transaction, input_.Metadata(), input_.Data(), output_.Metadata(), 0);
    std::string value;
    if (cursor->fetchNext(status_.Get(), output_.Data()) == Firebird::IStatus::RESULT_OK) value = output_.Text(0);
    cursor->close(status_.Get());
    transaction->commit(status_.Get());
    return value;
  }

 private:
  static Firebird::IStatement* Prepare(db::Status& status, Firebird::IAttachment* attachment) {
    Firebird::ITransaction* transaction =
        attachment->startTransaction(status.Get(), sizeof floor::kTabXTpb, floor::kTabXTpb);
    Firebird::IStatement* read =
        attachment->prepare(status.Get(), transaction, 0, kTabXRead, floor::kDialect, floor::kPrepareFlags);
    transaction->commit(status.Get());
    return read;
  }

  db::Status status_;
  Firebird::IAttachment* attachment_;
  Firebird::IStatement* read_;
  floor::Message input_;
  floor::Message output_;
};

Side Floor() {
  auto read = std::make_shared<FloorRead>(Shared<TabXArchive>().raw.get());
  if (read->Read() != kValue) throw std::runtime_error("the value does not read back");
  return {[read] {
    for (int i = 0; i < kCalls; ++i) {
      std::string value = read->Read();
      benchmark::DoNotOptimize(value);
    }
  }};
}

}  // namespace

void RegisterTabXBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "4 1000 x GetParametroTesto: library/floor", "GetParametroTesto_x1000", Library, Floor,
               {1.10});
}

}  // namespace brontelx::bench
