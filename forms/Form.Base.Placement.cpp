// TFormBase: the window's placement, stored in STOPOS1 of the archive per situation, user and
// project.
#include <string>
#include <utility>
#include <vector>

#include "database/Statement.h"
#include "database/TransactedStatement.h"
#include "database/TransactionScope.h"
#include "database/WriteConflictRetry.h"
#include "forms/Form.Base.h"
#include "forms/RowValues.h"
#include "forms/UpdateSQL.h"

namespace brontelx {
namespace {

std::vector<std::string> KeyFilter(std::int32_t ASituazione, std::int32_t AUtente, std::int32_t AProgetto) {
  return {"WHERE (CodiceSituazione=" + std::to_string(ASituazione) + ")",
          "AND (CodiceUtente=" + std::to_string(AUtente) + ")",
          "AND (CodiceProgetto=" + std::to_string(AProgetto) + ")"};
}

std::vector<std::string> RowQuery(std::int32_t ASituazione, std::int32_t AUtente, std::int32_t AProgetto) {
  std::vector<std::string> lines{"SELECT * FROM \"STOPOS1\""};
  for (std::string& line : KeyFilter(ASituazione, AUtente, AProgetto)) lines.push_back(std::move(line));
  return lines;
}

}  // namespace

void TFormBase::LetturaPosizione(std::int32_t AUtente, std::int32_t ASituazione, std::int32_t AProgetto,
                                 db::Connection& ADatabase) {
  db::TransactedStatement sql(ADatabase, db::TransactedStatement::DefaultParams(),
                              db::TransactedStatement::End::Rollback, false);
  db::Statement& query = sql.Query();
  query.SetSQL(RowQuery(ASituazione, AUtente, AProgetto));
  query.ExecQuery();
  if (!query.Eof()) {
    Window().SetFrame({query.FieldByName("POSX").AsInteger(), query.FieldByName("POSY").AsInteger(),
                       query.FieldByName("DIMX").AsInteger(), query.FieldByName("DIMY").AsInteger()});
  }
  sql.Finish();
}

void TFormBase::ScritturaPosizione(std::int32_t AUtente, std::int32_t ASituazione, std::int32_t AProgetto,
                                   db::Connection& ADatabase) {
  // A placement is not worth waiting for: a row locked by another connection fails the save at
  // once (nowait), and a conflict is not tried again, instead of freezing the closing window.
  constexpr db::WriteConflictPolicy kNoRetry{};
  db::RetryOnWriteConflict(kNoRetry, [&] {
    // Nothing of a failed save is kept.
    db::TransactionScope scope(ADatabase, {"concurrency", "nowait"});
    db::Statement query(&ADatabase, &scope.Transaction());
    query.SetParamCheck(false);
    query.SetSQL(RowQuery(ASituazione, AUtente, AProgetto));
    query.ExecQuery();
    const platform::Rect frame = Window().Frame();
    const bool found = !query.Eof();
    const bool changed = !found || query.FieldByName("POSX").AsInteger() != frame.left ||
                         query.FieldByName("POSY").AsInteger() != frame.top ||
                         query.FieldByName("DIMX").AsInteger() != frame.width ||
                         query.FieldByName("DIMY").AsInteger() != frame.height;
    if (changed) {
      TUpdateSQL update;
      PreparaUpdateSQL(query, "STOPOS1", "UPDATE", update);
      PreparaUpdateSQL(query, "STOPOS1", "INSERT", update);
      for (std::string& line : KeyFilter(ASituazione, AUtente, AProgetto)) update.ModifySQL.push_back(std::move(line));

      RowValues row(query, found);
      if (!found) {
        row.Set("CODICEPROGETTO", AProgetto);
        row.Set("CODICESITUAZIONE", ASituazione);
        row.Set("CODICEUTENTE", AUtente);
      }
      row.Set("POSX", frame.left);
      row.Set("POSY", frame.top);
      row.Set("DIMX", frame.width);
      row.Set("DIMY", frame.height);
      db::Statement post(&ADatabase, &scope.Transaction());
      post.SetSQL(found ? update.ModifySQL : update.InsertSQL);
      row.Bind(post);
      post.ExecQuery();
    }
    query.Close();
    scope.Commit();
  });
}

}  // namespace brontelx
