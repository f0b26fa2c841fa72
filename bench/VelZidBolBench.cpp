// The delivery-note validation: EseguiValidazPers against a floor doing the same statements in
// the same transactions, with the delivery-note database embedded and on the loopback server; and
// the library's run with a log of 10 000 and of 1 000 000 entries.
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "Fixtures.h"
#include "FloorApi.h"
#include "Registration.h"
#include "VelValidazPers.h"
#include "VelZidBolData.h"

namespace brontelx::bench {
namespace {

// The statements exactly as the library sends them (named parameters become "?").
constexpr char kTabXRead[] =
    "SELECT\n  TESTO,\n  MEMO\nFROM\n  TABX\nWHERE\n  NOME=?\n  AND\n  UTENTE IS NOT DISTINCT FROM ?";
constexpr char kBolleCount[] = "SELECT COUNT(*) FROM BOLLE WHERE BOL_COD = ?";
constexpr char kLatestEntry[] =
    "SELECT FIRST 1 DATOINPUT FROM BRONTELLOG WHERE USER_AUTENTICAZ = ? ORDER BY ID DESC";
constexpr char kChainCount[] =
    "SELECT COUNT(DISTINCT L1.ID_CATENA) FROM BRONTELLOG L1 WHERE L1.DATOINPUT = ? AND EXISTS (SELECT 1 FROM "
    "BRONTELLOG L2 WHERE L2.ID_CATENA = L1.ID_CATENA AND L2.DATOINPUT = 'APERTURA')";

Firebird::IStatement* Prepare(db::Status& status, Firebird::IAttachment* attachment,
                              Firebird::ITransaction* transaction, const char* sql) {
  Firebird::IStatement* statement =
      attachment->prepare(status.Get(), transaction, 0, sql, floor::kDialect, floor::kPrepareFlags);
  return statement;
}

Firebird::ITransaction* Start(db::Status& status, Firebird::IAttachment* attachment, const unsigned char* tpb,
                              unsigned length) {
  Firebird::ITransaction* transaction = attachment->startTransaction(status.Get(), length, tpb);
  return transaction;
}

// Opens the statement's cursor on `input`, reads the first row into `output` and keeps the cursor
// open; false when there is no row.
bool OpenAndFetch(db::Status& status, Firebird::IStatement* statement, Firebird::ITransaction* transaction,
                  floor::Message& input, floor::Message& output, Firebird::IResultSet*& cursor) {
  cursor =
      statement->openCursor(status.Get(), transaction, input.Metadata(), input.Data(), output.Metadata(), 0);
  const bool row = cursor->fetchNext(status.Get(), output.Data()) == Firebird::IStatus::RESULT_OK;
  return row;
}

void CloseCursor(db::Status& status, Firebird::IResultSet* cursor) {
  cursor->close(status.Get());
}

// VelZidBol on the plain API, in the library's order: the shared value in a snapshot transaction
// of its own; the delivery-note count in a read-committed transaction on a new attachment; the
// two log queries, each prepared afresh, in a read-committed transaction on the archive; then both
// transactions rolled back, the statements freed and the delivery-note database detached.
std::string FloorVelZidBol(db::Status& status, Firebird::IAttachment* archive, std::int32_t user,
                           const std::string& datum) {
  std::string location;
  {
    Firebird::ITransaction* transaction =
        Start(status, archive, floor::kSnapshotTpb, sizeof floor::kSnapshotTpb);
    Firebird::IStatement* read = Prepare(status, archive, transaction, kTabXRead);
    floor::Message input = floor::InputOf(status, read);
    floor::Message output = floor::OutputOf(status, read);
    input.SetText(0, "VelZidBolDBRux");
    input.SetNull(1);
    Firebird::IResultSet* cursor = nullptr;
    if (OpenAndFetch(status, read, transaction, input, output, cursor)) location = output.Text(0);
    CloseCursor(status, cursor);
    transaction->commit(status.Get());
    read->free(status.Get());
  }
  if (location.empty()) return "ERR - Parametro \"VelZidBolDBRux\" non configurato.";

  std::string result = "OK";
  Firebird::IAttachment* rux = floor::Attach(status, location);
  Firebird::ITransaction* ruxTransaction =
      Start(status, rux, floor::kReadCommittedTpb, sizeof floor::kReadCommittedTpb);
  Firebird::IStatement* count = Prepare(status, rux, ruxTransaction, kBolleCount);
  {
    floor::Message input = floor::InputOf(status, count);
    floor::Message output = floor::OutputOf(status, count);
    input.SetText(0, datum);
    Firebird::IResultSet* cursor = nullptr;
    OpenAndFetch(status, count, ruxTransaction, input, output, cursor);
    if (output.Int(0) == 0) result = "ERR - Bolletta " + datum + " non trovata nell'archivio RUX.";
    CloseCursor(status, cursor);
  }

  Firebird::ITransaction* logTransaction = nullptr;
  Firebird::IStatement* log = nullptr;
  if (result == "OK") {
    logTransaction = Start(status, archive, floor::kReadCommittedTpb, sizeof floor::kReadCommittedTpb);
    log = Prepare(status, archive, logTransaction, kLatestEntry);
    bool opening = false;
    {
      floor::Message input = floor::InputOf(status, log);
      floor::Message output = floor::OutputOf(status, log);
      input.SetInt(0, user);
      Firebird::IResultSet* cursor = nullptr;
      if (OpenAndFetch(status, log, logTransaction, input, output, cursor)) {
        std::string latest = output.Text(0);
        std::transform(latest.begin(), latest.end(), latest.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
        opening = latest.find("APERTURA") != std::string::npos;
      }
      CloseCursor(status, cursor);
    }
    if (!opening) {
      log->free(status.Get());
      log = Prepare(status, archive, logTransaction, kChainCount);
      floor::Message input = floor::InputOf(status, log);
      floor::Message output = floor::OutputOf(status, log);
      input.SetText(0, datum);
      Firebird::IResultSet* cursor = nullptr;
      OpenAndFetch(status, log, logTransaction, input, output, cursor);
      if (output.Int(0) == 0)
        result = "ERR - Bolletta " + datum + " non associata a nessuna catena di APERTURA.";
      CloseCursor(status, cursor);
    }
  }

  if (logTransaction) {
    logTransaction->rollback(status.Get());
  }
  ruxTransaction->rollback(status.Get());
  if (log) {
    log->free(status.Get());
  }
  count->free(status.Get());
  rux->detach(status.Get());
  return result;
}

struct EmbeddedNotes : DeliveryNotes {};
struct LoopbackNotes : DeliveryNotes {};

struct EmbeddedLog10k : ValidationArchive {
  EmbeddedLog10k() : ValidationArchive(Shared<EmbeddedNotes>().Path(), 10000) {}
};
struct EmbeddedLog1M : ValidationArchive {
  EmbeddedLog1M() : ValidationArchive(Shared<EmbeddedNotes>().Path(), 1000000) {}
};
struct LoopbackLog10k : ValidationArchive {
  LoopbackLog10k() : ValidationArchive(LoopbackLocation(Shared<LoopbackNotes>().Path()).value(), 10000) {}
};

template <typename Archive>
Side Library() {
  db::Connection& archive = Shared<Archive>().Library();
  Side side{[&archive] {
    std::string result = EseguiValidazPers(archive, "VelZidBol", kLogUser, kAcceptedCode);
    benchmark::DoNotOptimize(result);
  }};
  // One unmeasured run on each side, as a check of the answer.
  const std::string first = EseguiValidazPers(archive, "VelZidBol", kLogUser, kAcceptedCode);
  if (first != "OK") throw std::runtime_error("the library gives \"" + first + "\" instead of OK");
  return side;
}

template <typename Archive>
Side Floor() {
  Firebird::IAttachment* archive = Shared<Archive>().Raw();
  auto status = std::make_shared<db::Status>();
  const std::string first = FloorVelZidBol(*status, archive, kLogUser, kAcceptedCode);
  if (first != "OK") throw std::runtime_error("the floor gives \"" + first + "\" instead of OK");
  return {[archive, status] {
    std::string result = FloorVelZidBol(*status, archive, kLogUser, kAcceptedCode);
    benchmark::DoNotOptimize(result);
  }};
}

}  // namespace

void RegisterVelZidBolBenchmarks(RatioReporter& reporter) {
  RegisterPair(reporter, "2 VelZidBol, embedded: library/floor", "VelZidBol/embedded/log10k", Library<EmbeddedLog10k>,
               Floor<EmbeddedLog10k>, {1.10});
  if (LoopbackLocation("")) {
    RegisterPair(reporter, "2 VelZidBol, delivery notes on loopback: library/floor", "VelZidBol/loopback/log10k",
                 Library<LoopbackLog10k>, Floor<LoopbackLog10k>, {1.10});
  } else {
    reporter.Note("loopback",
                  "VelZidBol over the loopback server skipped: BRONTELX_FB_PORT is not set "
                  "(scripts/bench.sh starts the server and sets it)");
  }
  RegisterPair(reporter, "3 VelZidBol, log 1 000 000 / 10 000 entries (library)", "VelZidBol/embedded/log1M-log10k",
               Library<EmbeddedLog1M>, Library<EmbeddedLog10k>, {1.5});
}

}  // namespace brontelx::bench
