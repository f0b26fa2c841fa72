#include "bench/VelZidBolFloor.h"

#include <algorithm>

namespace brontelx::bench {
namespace {

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

}  // namespace

std::string FloorVelZidBol(db::Status& status, Firebird::IAttachment* archive, std::int32_t user,
                           const std::string& datum, const DeliveryNoteCount& countElsewhere) {
  std::string location;
  {
    Firebird::ITransaction* transaction =
        Start(status, archive, floor::kTabXTpb, sizeof floor::kTabXTpb);
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
  Firebird::IAttachment* rux = nullptr;
  Firebird::ITransaction* ruxTransaction = nullptr;
  if (countElsewhere) {
    if (countElsewhere(location) == 0) result = "ERR - Bolletta " + datum + " non trovata nell'archivio RUX.";
  } else {
    rux = floor::Attach(status, location);
    ruxTransaction = Start(status, rux, floor::kReadCommittedTpb, sizeof floor::kReadCommittedTpb);
    if (floor::ExecuteCount(status, rux, ruxTransaction, kBolleCount, datum) == 0)
      result = "ERR - Bolletta " + datum + " non trovata nell'archivio RUX.";
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
    if (!opening && floor::ExecuteCount(status, archive, logTransaction, kChainCount, datum) == 0)
      result = "ERR - Bolletta " + datum + " non associata a nessuna catena di APERTURA.";
  }

  if (logTransaction) {
    logTransaction->rollback(status.Get());
  }
  if (ruxTransaction) ruxTransaction->rollback(status.Get());
  if (log) {
    log->free(status.Get());
  }
  if (rux) rux->detach(status.Get());
  return result;
}

}  // namespace brontelx::bench
