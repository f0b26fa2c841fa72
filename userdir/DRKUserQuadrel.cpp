// The per-user parameter rows of TABQUADREL and the text block rebuilt from them in UTENTI.QUADREL.
#include <string>
#include <vector>

#include "database/TransactedStatement.h"
#include "userdir/DRKUser.h"

namespace brontelx {

using db::TransactedStatement;

namespace {

const std::vector<std::string> kMergeLines = {
    "MERGE INTO TABQUADREL A",
    "USING(",
    "  SELECT",
    "    CAST(:PARAMETRO AS VARCHAR(64)) AS PARAMETRO",
    "  FROM",
    "    RDB$DATABASE",
    ") B ON",
    "A.PARAMETRO=B.PARAMETRO",
    "AND",
    "A.UTENTE=:UTENTE",
    "AND",
    "A.INTESTAZIONE=:INTESTAZIONE",
    "WHEN MATCHED THEN UPDATE SET",
    "  A.VALORE=:VALORE",
    "WHEN NOT MATCHED THEN INSERT(",
    "  UTENTE,",
    "  INTESTAZIONE,",
    "  PARAMETRO,",
    "  VALORE,",
    "  PROGRESSIVO",
    ")",
    "VALUES(",
    "  :UTENTE,",
    "  :INTESTAZIONE,",
    "  :PARAMETRO,",
    "  :VALORE,",
    "  (",
    "    SELECT",
    "      COALESCE(MAX(PROGRESSIVO),0)+1",
    "    FROM",
    "      TABQUADREL",
    "    WHERE",
    "      UTENTE=:UTENTE",
    "  )",
    ")"};

// Rebuilds the block inside the database in one statement: sections ascending, each section line
// before its first parameter, parameters in the order they were first written. Rows without a
// parameter name are left out: appending one would turn the whole block NULL. VALORE's length is
// TDRKUser::kQuadrelValueCharacters.
std::vector<std::string> RebuildLines(std::int32_t utente) {
  return {"EXECUTE BLOCK",
          "AS",
          "  DECLARE VARIABLE UTENTE Integer = " + std::to_string(utente) + ";",
          "  DECLARE VARIABLE INTESTAZIONE VarChar(64);",
          "  DECLARE VARIABLE PARAMETRO VarChar(64);",
          "  DECLARE VARIABLE VALORE VarChar(256);",
          "  DECLARE VARIABLE SCRITTURA Smallint;",
          "BEGIN",
          "  UPDATE UTENTI SET",
          "    QUADREL=NULL",
          "  WHERE",
          "    CODICE=:UTENTE;",
          "  FOR",
          "    SELECT DISTINCT",
          "      INTESTAZIONE",
          "    FROM",
          "      TABQUADREL",
          "    WHERE",
          "      UTENTE=:UTENTE",
          "      AND",
          "      INTESTAZIONE IS NOT NULL",
          "    ORDER BY",
          "      1",
          "    INTO",
          "      :INTESTAZIONE",
          "  DO",
          "  BEGIN",
          "    SCRITTURA=0;",
          "    FOR",
          "      SELECT",
          "        PARAMETRO,",
          "        VALORE",
          "      FROM",
          "        TABQUADREL",
          "      WHERE",
          "        UTENTE=:UTENTE",
          "        AND",
          "        INTESTAZIONE=:INTESTAZIONE",
          "        AND",
          "        PARAMETRO IS NOT NULL",
          "      ORDER BY",
          "        INTESTAZIONE,",
          "        PROGRESSIVO",
          "      INTO",
          "        :PARAMETRO,",
          "        :VALORE",
          "    DO",
          "    BEGIN",
          "      IF (:SCRITTURA=0) THEN",
          "      BEGIN",
          "        UPDATE UTENTI SET",
          "          QUADREL=COALESCE(QUADREL,'')||'['||:INTESTAZIONE||']'||ASCII_CHAR(10)",
          "        WHERE",
          "          CODICE=:UTENTE;",
          "        SCRITTURA=1;",
          "      END",
          "      UPDATE UTENTI SET",
          "        QUADREL=QUADREL||:PARAMETRO||'='||COALESCE(:VALORE,'')||ASCII_CHAR(10)",
          "      WHERE",
          "        CODICE=:UTENTE;",
          "    END--FOR PARAMETRO",
          "  END--FOR INTESTAZIONE",
          "END"};
}

}  // namespace

std::string TDRKUser::GetParamQuadrel(const std::string& Nome) {
  // The company and the name are bound, not written into the text: the server then compares them
  // in the columns' own character set, whatever the database's default.
  TransactedStatement sql(*FDBUser, TransactedStatement::DefaultParams(), TransactedStatement::End::Rollback, true);
  db::Statement& query = sql.Query();
  query.SetSQL({"SELECT", "  VALORE", "FROM", "  TABQUADREL", "WHERE", "  UTENTE=" + std::to_string(FCodiceUtente),
                "  AND", "  INTESTAZIONE=:INTESTAZIONE", "  AND", "  PARAMETRO=:PARAMETRO"});
  query.ParamByName("INTESTAZIONE").SetString(FDittaUtente);
  query.ParamByName("PARAMETRO").SetString(Nome);
  query.ExecQuery();
  std::string result = query.Eof() ? std::string() : query.FieldByName("VALORE").AsString();
  sql.Finish();
  return result;
}

void TDRKUser::SetParamQuadrel(const std::string& ANome, const std::string& AValore) {
  {
    TransactedStatement sql(*FDBUser, TransactedStatement::SnapshotParams(), TransactedStatement::End::Commit, true);
    db::Statement& query = sql.Query();
    query.SetSQL(kMergeLines);
    query.ParamByName("UTENTE").SetInt(FCodiceUtente);
    query.ParamByName("INTESTAZIONE").SetString(FDittaUtente);
    query.ParamByName("PARAMETRO").SetString(ANome);
    query.ParamByName("VALORE").SetString(AValore);
    query.ExecQuery();
    sql.Finish();
  }
  if (!FUpdating) RicostruisciQuadrel();
}

void TDRKUser::EndUpdate() {
  FUpdating = false;
  RicostruisciQuadrel();
}

void TDRKUser::RicostruisciQuadrel() {
  TransactedStatement sql(*FDBUser, TransactedStatement::SnapshotParams(), TransactedStatement::End::Commit, false);
  sql.Query().SetSQL(RebuildLines(FCodiceUtente));
  sql.Query().ExecQuery();
  sql.Finish();
}

}  // namespace brontelx
