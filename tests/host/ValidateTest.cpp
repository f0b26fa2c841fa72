#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "SilentServer.h"
#include "ToolFixture.h"

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
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
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
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
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
  EXPECT_EQ(ExitCode(result), 2);
  EXPECT_EQ(result.output, "");
  const std::string firstLine = "brontelx: Fallita connessione all'archivio \"" + missing + "\"\n";
  EXPECT_EQ(result.errors.substr(0, firstLine.size()), firstLine) << result.errors;
  EXPECT_GT(result.errors.size(), firstLine.size() + 1);
  EXPECT_EQ(result.errors.find('\r'), std::string::npos);
}

}  // namespace
}  // namespace brontelx::testing
