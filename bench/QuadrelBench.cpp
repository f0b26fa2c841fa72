// Per-user parameter writes: SetParamQuadrel for a user with 10 and with 200 parameters against the
// same two statements on the plain API, the number of statements each write prepares, and a batch
// of 100 writes (one rebuild) against 100 single writes (a rebuild each).
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "bench/Fixtures.h"
#include "bench/FloorApi.h"
#include "bench/Registration.h"
#include "database/DRKDBUtility.h"
#include "database/Statement.h"
#include "tests/support/Sql.h"
#include "tests/support/TestDatabase.h"
#include "userdir/DRKUser.h"

namespace brontelx::bench {
namespace {

constexpr int kBatch = 100;

// The write and the rebuild exactly as the library sends them (named parameters become "?").
constexpr char kMerge[] =
    "MERGE INTO TABQUADREL A\nUSING(\n  SELECT\n    CAST(? AS VARCHAR(64)) AS PARAMETRO\n  FROM\n    "
    "RDB$DATABASE\n"
    ") B ON\nA.PARAMETRO=B.PARAMETRO\nAND\nA.UTENTE=?\nAND\nA.INTESTAZIONE=?\nWHEN MATCHED THEN UPDATE SET\n"
    "  A.VALORE=?\nWHEN NOT MATCHED THEN INSERT(\n  UTENTE,\n  INTESTAZIONE,\n  PARAMETRO,\n  VALORE,\n"
    "  PROGRESSIVO\n)\nVALUES(\n  ?,\n  ?,\n  ?,\n  ?,\n  (\n    SELECT\n      "
    "COALESCE(MAX(PROGRESSIVO),0)+1\n"
    "    FROM\n      TABQUADREL\n    WHERE\n      UTENTE=?\n  )\n)";

std::string Rebuild(std::int32_t user) {
  return "EXECUTE BLOCK\nAS\n  DECLARE VARIABLE UTENTE Integer = " + std::to_string(user) +
         ";\n"
         "  DECLARE VARIABLE INTESTAZIONE VarChar(64);\n  DECLARE VARIABLE PARAMETRO VarChar(64);\n"
         "  DECLARE VARIABLE VALORE VarChar(256);\n  DECLARE VARIABLE SCRITTURA Smallint;\nBEGIN\n"
         "  UPDATE UTENTI SET\n    QUADREL=NULL\n  WHERE\n    CODICE=:UTENTE;\n  FOR\n    SELECT DISTINCT\n"
         "      INTESTAZIONE\n    FROM\n      TABQUADREL\n    WHERE\n      UTENTE=:UTENTE\n      AND\n"
         "      INTESTAZIONE IS NOT NULL\n    ORDER BY\n      1\n    INTO\n      :INTESTAZIONE\n  DO\n  "
         "BEGIN\n"
         "    SCRITTURA=0;\n    FOR\n      SELECT\n        PARAMETRO,\n        VALORE\n      FROM\n"
         "        TABQUADREL\n      WHERE\n        UTENTE=:UTENTE\n        AND\n        "
         "INTESTAZIONE=:INTESTAZIONE\n"
         "        AND\n        PARAMETRO IS NOT NULL\n      ORDER BY\n        INTESTAZIONE,\n        "
         "PROGRESSIVO\n"
         "      INTO\n        :PARAMETRO,\n        :VALORE\n    DO\n    BEGIN\n      IF (:SCRITTURA=0) THEN\n"
         "      BEGIN\n        UPDATE UTENTI SET\n"
         "          QUADREL=COALESCE(QUADREL,'')||'['||:INTESTAZIONE||']'||ASCII_CHAR(10)\n        WHERE\n"
         "          CODICE=:UTENTE;\n        SCRITTURA=1;\n      END\n      UPDATE UTENTI SET\n"
         "        QUADREL=QUADREL||:PARAMETRO||'='||COALESCE(:VALORE,'')||ASCII_CHAR(10)\n      WHERE\n"
         "        CODICE=:UTENTE;\n    END--FOR PARAMETRO\n  END--FOR INTESTAZIONE\nEND";
}

std::string ParamName(char prefix, int index) {
  char name[16];
  std::snprintf(name, sizeof name, "%c%03d", prefix, index);
  return name;
}

// A value of the usual size that differs between odd and even rounds, so every write changes it.
std::string Value(std::int64_t round) {
  return round % 2 ? "C:\\Programmi\\Brontel\\Dati\\ditta1.fdb" : "C:\\Programmi\\Brontel\\Dati\\ditta2.fdb";
}

// A user directory in a temporary folder with users 1, 2 and 3 of company ALFA holding 10, 200 and
// 100 parameters, each user loaded in a TDRKUser of its own, and a plain attachment for the floor.
struct QuadrelDirectory {
  testing::TestDatabase database{schema::Kind::UserDirectory};
  const std::string path = database.Path();
  std::unique_ptr<TDRKUser> users[3];
  db::FbHandle<Firebird::IAttachment> raw;

  QuadrelDirectory() {
    const int counts[3] = {10, 200, kBatch};
    for (int u = 0; u < 3; ++u) {
      users[u] = std::make_unique<TDRKUser>();
      users[u]->ConnettiDB(path);
      testing::ExecSql(users[u]->DBUser(), {"INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (" +
                                      std::to_string(u + 1) + ", 'Utente', 'ALFA')"});
      users[u]->SetCodiceUtente(u + 1);
      users[u]->BeginUpdate();
      for (int i = 0; i < counts[u]; ++i)
        users[u]->SetParamQuadrel(ParamName(u == 2 ? 'Q' : 'P', i), Value(0));
      users[u]->EndUpdate();
    }
    db::Status status;
    raw = db::FbHandle<Firebird::IAttachment>(floor::Attach(status, path));
  }
};

// One write on the plain API: the MERGE prepared, run and committed in a snapshot transaction, then
// the rebuild prepared, run and committed in another.
void FloorWrite(db::Status& status, Firebird::IAttachment* attachment, std::int32_t user,
                const std::string& name, const std::string& value) {
  Firebird::ITransaction* transaction =
      attachment->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
  Firebird::IStatement* merge =
      attachment->prepare(status.Get(), transaction, 0, kMerge, floor::kDialect, floor::kPrepareFlags);
  {
    // Markers in order: PARAMETRO, UTENTE, INTESTAZIONE, VALORE, UTENTE, INTESTAZIONE, PARAMETRO,
    // VALORE, UTENTE.
    floor::Message input = floor::InputOf(status, merge);
    input.SetText(0, name);
    input.SetInt(1, user);
    input.SetText(2, "ALFA");
    input.SetText(3, value);
    input.SetInt(4, user);
    input.SetText(5, "ALFA");
    input.SetText(6, name);
    input.SetText(7, value);
    input.SetInt(8, user);
    merge->execute(status.Get(), transaction, input.Metadata(), input.Data(), nullptr, nullptr);
  }
  transaction->commit(status.Get());
  merge->free(status.Get());

  transaction = attachment->startTransaction(status.Get(), sizeof floor::kSnapshotTpb, floor::kSnapshotTpb);
  const std::string rebuildSql = Rebuild(user);
  Firebird::IStatement* rebuild = attachment->prepare(status.Get(), transaction, 0, rebuildSql.c_str(),
                                                      floor::kDialect, floor::kPrepareFlags);
  rebuild->execute(status.Get(), transaction, nullptr, nullptr, nullptr, nullptr);
  transaction->commit(status.Get());
  rebuild->free(status.Get());
}

template <int User>
Side Library(RatioReporter* reporter) {
  TDRKUser& user = *Shared<QuadrelDirectory>().users[User - 1];
  auto round = std::make_shared<std::int64_t>(0);
  Side side{[&user, round] { user.SetParamQuadrel(ParamName('P', 5), Value(++*round)); }};
  const std::uint64_t before = db::Statement::PrepareCount();
  side.run();  // unmeasured: counts the statements one write prepares
  const std::uint64_t prepares = db::Statement::PrepareCount() - before;
  reporter->Note("prepares" + std::to_string(User),
                 "SetParamQuadrel, user with " + std::string(User == 1 ? "10" : "200") +
                     " parameters: " + std::to_string(prepares) + " statements prepared per write");
  return side;
}

template <int User>
Side Floor() {
  Firebird::IAttachment* attachment = Shared<QuadrelDirectory>().raw.get();
  auto status = std::make_shared<db::Status>();
  auto round = std::make_shared<std::int64_t>(0);
  Side side{[attachment, status, round] { FloorWrite(*status, attachment, User, ParamName('P', 5), Value(++*round)); }};
  side.run();  // unmeasured, as the library side's first write
  return side;
}

// 100 writes of user 3, in a batch (one rebuild) or one by one (a rebuild each); the statements
// one round prepares go into the notes.
Side Writes(RatioReporter* reporter, bool batch) {
  TDRKUser& user = *Shared<QuadrelDirectory>().users[2];
  auto round = std::make_shared<std::int64_t>(0);
  Side side{[&user, round, batch] {
    ++*round;
    if (batch) user.BeginUpdate();
    for (int i = 0; i < kBatch; ++i) user.SetParamQuadrel(ParamName('Q', i), Value(*round));
    if (batch) user.EndUpdate();
  }};
  const std::uint64_t before = db::Statement::PrepareCount();
  side.run();
  const std::uint64_t prepares = db::Statement::PrepareCount() - before;
  reporter->Note(batch ? "prepares_batch" : "prepares_single",
                 std::string(batch ? "100 writes in a batch: " : "100 single writes: ") + std::to_string(prepares) +
                     (batch ? " statements prepared (100 writes + 1 rebuild)"
                            : " statements prepared (100 writes + 100 rebuilds)"));
  return side;
}

}  // namespace

void RegisterQuadrelBenchmarks(RatioReporter& reporter) {
  RatioReporter* notes = &reporter;
  RegisterPair(reporter, "6 SetParamQuadrel, 10 parameters: library/floor", "SetParamQuadrel/params10",
               [notes] { return Library<1>(notes); }, Floor<1>, {1.10});
  RegisterPair(reporter, "6 SetParamQuadrel, 200 parameters: library/floor", "SetParamQuadrel/params200",
               [notes] { return Library<2>(notes); }, Floor<2>, {1.10});
  reporter.AddCross({"6 SetParamQuadrel, 200 / 10 parameters (library)", "SetParamQuadrel/params200", true,
                     "SetParamQuadrel/params10", true});
  // Seconds per iteration: a few repetitions say enough.
  RegisterPair(
      reporter, "6 100 writes, batch / single (library)", "SetParamQuadrel/100writes/batch-single",
      [notes] { return Writes(notes, true); }, [notes] { return Writes(notes, false); }, {std::nullopt, 3});
}

}  // namespace brontelx::bench
