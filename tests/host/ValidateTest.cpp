#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/host/ToolFixture.h"
#include "tests/support/SilentServer.h"

namespace brontelx::testing {
namespace {

const std::string kNotFound = "ERR - Bolletta BOL-9999 non trovata nell'archivio RUX.\n";

using ValidateTest = ToolFixture;

TEST_F(ValidateTest, ExitStatusSaysWhetherEveryDatumWasAccepted) {
  const ChildResult accepted = Run({"validate", "1", "BOL-1001"});
  EXPECT_EQ(ExitCode(accepted), 0) << accepted.errors;
  EXPECT_EQ(accepted.output, "OK\n");

  const ChildResult refused = Run({"validate", "1", "BOL-1001", "BOL-9999"});
  EXPECT_EQ(ExitCode(refused), 1) << refused.errors;
  EXPECT_EQ(refused.output, "OK\n" + kNotFound);

  // An unknown validation is a refusal too.
  const ChildResult unknown = Run({"validate", "1", "BOL-1001", "--function", "VelAltro"});
  EXPECT_EQ(ExitCode(unknown), 1);
  EXPECT_EQ(unknown.output, "ERR Funzione non esistente\n");

  // BOL-1002 sits in a chain without an opening; user 2 has just opened one.
  EXPECT_EQ(ExitCode(Run({"validate", "1", "BOL-1002"})), 1);
  const ChildResult otherCode = Run({"validate", "1", "--code", "2", "BOL-1002", "--function=velzidbol"});
  EXPECT_EQ(ExitCode(otherCode), 0) << otherCode.errors;
  EXPECT_EQ(otherCode.output, "OK\n");

  const ChildResult noUser = Run({"validate", "42", "BOL-1001"});
  EXPECT_EQ(ExitCode(noUser), 2);
  EXPECT_EQ(noUser.output, "");
  EXPECT_EQ(noUser.errors, "brontelx: Utente 42 non trovato\n");

  const ChildResult badUser = Run({"validate", "Mario", "BOL-1001"});
  EXPECT_EQ(ExitCode(badUser), 2);
  EXPECT_NE(badUser.errors.find("USER must be a user code"), std::string::npos) << badUser.errors;
  EXPECT_NE(badUser.errors.find("usage: brontelx validate USER DATUM..."), std::string::npos);
}

TEST_F(ValidateTest, DashReadsOneDatumPerLineFromStandardInput) {
  // A Windows file may begin with a byte order mark, and its lines end in CR LF; neither is part
  // of a datum.
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    const ChildResult lines = Run({"validate", "2", "-"}, bom + "BOL-1002\r\nBOL-9999\nBOL-1001");
    EXPECT_EQ(ExitCode(lines), 1) << lines.errors;
    EXPECT_EQ(lines.output, "OK\n" + kNotFound + "OK\n");
  }
  // No datum at all is a mistake, as none on the command line is.
  for (const std::string input : {"", "\xEF\xBB\xBF"}) {
    const ChildResult none = Run({"validate", "2", "-"}, input);
    EXPECT_EQ(ExitCode(none), 2) << none.errors;
    EXPECT_EQ(none.output, "");
    EXPECT_NE(none.errors.find("standard input holds no datum"), std::string::npos) << none.errors;
    EXPECT_NE(none.errors.find("usage: brontelx validate"), std::string::npos) << none.errors;
  }
}

// A batch against a delivery-note server that never answers waits for it once: the data after
// the first get the same answer without another connection.
TEST_F(ValidateTest, AnUnreachableDatabaseIsNotWaitedForAgainForEachDatum) {
  SilentServer silent;
  const std::string location = "127.0.0.1/" + std::to_string(silent.Port()) + ":/dati/rux.fdb";
  Exec(Archive(), "UPDATE TABX SET TESTO = '" + location + "' WHERE NOME = 'VelZidBolDBRux'");
  const ChildResult result = Run({"validate", "1", "-"}, "A1\nA2\nA3\nA4\n", {"BRONTELX_CONNECT_TIMEOUT=1"});
  EXPECT_EQ(ExitCode(result), 3) << result.errors;
  std::vector<std::string> firstLines;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  ", 0) != 0) firstLines.push_back(line);
  }
  ASSERT_EQ(firstLines.size(), 4u) << result.output;
  EXPECT_EQ(firstLines[0].rfind("ERR - Impossibile connettersi al database RUX (" + location + "): ", 0), 0u);
  for (const std::string& line : firstLines) EXPECT_EQ(line, firstLines[0]);
  EXPECT_EQ(silent.TakeWaiting(), 1);
}

TEST_F(ValidateTest, ResultsOfSeveralLinesContinueOnIndentedLines) {
  // No server listens on port 1 of the loopback address; the client's message has several lines.
  Exec(Archive(), "UPDATE TABX SET TESTO = '127.0.0.1/1:/dati/rux.fdb' WHERE NOME = 'VelZidBolDBRux'");
  const ChildResult result = Run({"validate", "1", "-"}, "BOL-1001\nBOL-1002\n");
  EXPECT_EQ(ExitCode(result), 3) << result.errors;
  const std::string first = "ERR - Impossibile connettersi al database RUX (127.0.0.1/1:/dati/rux.fdb): ";
  std::size_t results = 0;
  std::istringstream lines(result.output);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("  ", 0) == 0) continue;
    EXPECT_EQ(line.substr(0, first.size()), first);
    ++results;
  }
  EXPECT_EQ(results, 2u) << result.output;
  EXPECT_NE(result.output.find("\n  "), std::string::npos) << result.output;

  // For scripts: one record per datum, the datum first, line breaks of the message escaped.
  const ChildResult tsv = Run({"validate", "1", "--format", "tsv", "BOL-1001", "a\tb\\"});
  EXPECT_EQ(ExitCode(tsv), 3) << tsv.errors;
  const std::string escapedBreak = "\\n-Failed";
  EXPECT_EQ(tsv.output.rfind("BOL-1001\t" + first, 0), 0u) << tsv.output;
  EXPECT_NE(tsv.output.find("\na\\tb\\\\\t" + first), std::string::npos) << tsv.output;
  EXPECT_NE(tsv.output.find(escapedBreak), std::string::npos) << tsv.output;
  const ChildResult json = Run({"validate", "1", "--format", "json", "BOL-1001", "\"q\"\xff"});
  EXPECT_EQ(json.output.rfind("{\"datum\":\"BOL-1001\",\"result\":\"" + first, 0), 0u) << json.output;
  EXPECT_NE(json.output.find("}\n{\"datum\":\"\\\"q\\\"\\ufffd\",\"result\":\""), std::string::npos) << json.output;
  for (const ChildResult* records : {&tsv, &json}) {
    EXPECT_EQ(std::count(records->output.begin(), records->output.end(), '\n'), 2) << records->output;
  }
}

// Several sessions at once give the results one session gives, in the order of the data.
TEST_F(ValidateTest, JobsKeepTheOrderOfTheData) {
  std::string input;
  std::vector<std::string> data;
  for (int i = 0; i < 40; ++i) {
    const char* kinds[] = {"BOL-1001", "BOL-9999", "BOL-1002", "X"};
    data.push_back(std::string(kinds[i % 4]) + (i % 4 == 3 ? std::to_string(i) : ""));
    input += data.back() + "\n";
  }
  std::ofstream(Folder() / "list") << input;
  const ChildResult one = Run({"validate", "1", "-"}, input);
  const ChildResult many = Run({"validate", "1", "--jobs", "8", "--format", "tsv", "--file", (Folder() / "list").string()});
  EXPECT_EQ(ExitCode(one), 1) << one.errors;
  EXPECT_EQ(ExitCode(many), 1) << many.errors;
  std::istringstream plain(one.output), records(many.output);
  std::size_t count = 0;
  for (std::string result, record; std::getline(plain, result) && std::getline(records, record); ++count) {
    EXPECT_EQ(record, data[count] + "\t" + result);
  }
  EXPECT_EQ(count, data.size()) << many.output;
}

TEST_F(ValidateTest, PrintsControlCharactersOfADatumEscaped) {
  const ChildResult result = Run({"validate", "1", "BOL\x1b[2J\x1b]0;x\a\n1"});
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
  EXPECT_EQ(result.output, "ERR - Bolletta BOL\\x1b[2J\\x1b]0;x\\x07\\n1 non trovata nell'archivio RUX.\n");
}

TEST_F(ValidateTest, SessionMessagesShowTheirLineBreaks) {
  const std::string missing = (Folder() / "nowhere" / "archivio.fdb").string();
  Exec(UserDirectory(), "UPDATE TABQUADREL SET VALORE = '" + missing + "' WHERE UTENTE = 1 AND PARAMETRO = 'Archivio'");
  const ChildResult result = Run({"validate", "1", "BOL-1001"});
  EXPECT_EQ(ExitCode(result), 3);
  EXPECT_EQ(result.output, "");
  // The failure, then which database, its dati.ini and what to do.
  const std::string firstLines = "brontelx: cannot attach the company archive (\"Archivio\" of user 1)\n"
                                 "  Fallita connessione all'archivio \"" + missing + "\"\n  I/O error";
  EXPECT_EQ(result.errors.substr(0, firstLines.size()), firstLines) << result.errors;
  EXPECT_NE(result.errors.find("\n  dati.ini: none (" + (Folder() / "nowhere" / "dati.ini").string() + ")\n"),
            std::string::npos) << result.errors;
  EXPECT_NE(result.errors.find("\n  hint: no database file at this path"), std::string::npos) << result.errors;
  EXPECT_EQ(result.errors.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace brontelx::testing
