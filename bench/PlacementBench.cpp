// Saving a moved window's placement: TFormBase::ScritturaPosizione against the same statements on
// the plain API: the row query, the two preparations of its copy that derive the statements from
// its columns, and the update of the row with every column bound, in one no-wait snapshot
// transaction.
#include <memory>
#include <stdexcept>

#include "bench/Fixtures.h"
#include "bench/FloorApi.h"
#include "bench/Registration.h"
#include "database/DRKDBUtility.h"
#include "forms/Form.Base.h"
#include "platform/qt/QtBackend.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"

namespace brontelx::bench {
namespace {

constexpr char kRowQuery[] =
    "SELECT * FROM \"STOPOS1\"\nWHERE (CodiceSituazione=2)\nAND (CodiceUtente=15)\nAND (CodiceProgetto=541)";
constexpr char kUpdate[] =
    "UPDATE \"STOPOS1\"\nSET\nCODICESITUAZIONE=?,\nCODICEUTENTE=?,\nCODICEPROGETTO=?,\nPOSX=?,\nPOSY=?,\nDIMX=?,"
    "\nDIMY=?,\nNOTE=?\nWHERE (CodiceSituazione=2)\nAND (CodiceUtente=15)\nAND (CodiceProgetto=541)";

struct PlacementArchive {
  testing::TestDatabase database{schema::Kind::Archive};
  db::Connection library;
  db::FbHandle<Firebird::IAttachment> raw;

  PlacementArchive() {
    OpenIBDatabase(library, database.Path());
    testing::ExecSql(library, "INSERT INTO STOPOS1 VALUES (2, 15, 541, 10, 20, 500, 350, 'nota')");
    db::Status status;
    raw = db::FbHandle<Firebird::IAttachment>(floor::Attach(status, database.Path()));
  }
};

// A window without controls that exposes the save.
class PlacedWindow : public TFormBase {
 public:
  PlacedWindow() : TFormBase(BaseDescription()) {}
  void Save(db::Connection& archive) { ScritturaPosizione(15, 2, kCodiceProgetto, archive); }
};

Side Library() {
  db::Connection& archive = Shared<PlacementArchive>().library;
  static platform::qt::QtBackend toolkit;
  platform::UseBackend(&toolkit);
  auto window = std::make_shared<PlacedWindow>();
  auto left = std::make_shared<int>(0);
  // Moving the window is the toolkit's work, not the save's.
  Side side{[window, &archive] { window->Save(archive); },
            [window, left] { window->Window().SetFrame({++*left % 2, 20, 500, 350}); }};
  side.untimed();
  side.run();
  return side;
}

Firebird::IStatement* Prepare(db::Status& status, Firebird::IAttachment* attachment,
                              Firebird::ITransaction* transaction, const char* sql) {
  return attachment->prepare(status.Get(), transaction, 0, sql, floor::kDialect, floor::kPrepareFlags);
}

void FloorSave(db::Status& status, Firebird::IAttachment* attachment, int left) {
  Firebird::ITransaction* transaction =
      attachment->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
  Firebird::IStatement* query = Prepare(status, attachment, transaction, kRowQuery);
  floor::Message row = floor::OutputOf(status, query);
  Firebird::IResultSet* cursor = query->openCursor(status.Get(), transaction, nullptr, nullptr, row.Metadata(), 0);
  if (cursor->fetchNext(status.Get(), row.Data()) != Firebird::IStatus::RESULT_OK) {
    throw std::runtime_error("the placement row is missing");
  }
  // The column list, read twice from a copy of the query, as the statements are derived.
  for (int copy = 0; copy < 2; ++copy) {
    Firebird::IStatement* columns = Prepare(status, attachment, transaction, kRowQuery);
    floor::Message names = floor::OutputOf(status, columns);
    benchmark::DoNotOptimize(names.Metadata());
    columns->free(status.Get());
  }
  Firebird::IStatement* update = Prepare(status, attachment, transaction, kUpdate);
  floor::Message input = floor::InputOf(status, update);
  for (unsigned column : {0u, 1u, 2u, 4u, 5u, 6u}) input.SetInt(column, row.Int(column));
  input.SetInt(3, left);
  if (row.IsNull(7)) {
    input.SetNull(7);
  } else {
    input.SetText(7, row.Text(7));
  }
  update->execute(status.Get(), transaction, input.Metadata(), input.Data(), nullptr, nullptr);
  update->free(status.Get());
  cursor->close(status.Get());
  query->free(status.Get());
  transaction->commit(status.Get());
}

Side Floor() {
  Firebird::IAttachment* attachment = Shared<PlacementArchive>().raw.get();
  auto status = std::make_shared<db::Status>();
  auto left = std::make_shared<int>(0);
  // Other places than the library side's, so that the library always finds the row changed.
  Side side{[attachment, status, left] { FloorSave(*status, attachment, 2 + ++*left % 2); }};
  side.run();
  return side;
}

}  // namespace

void RegisterPlacementBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "7 ScritturaPosizione of a moved window: library/floor", "ScritturaPosizione", Library,
               Floor, {1.10});
}

}  // namespace brontelx::bench
