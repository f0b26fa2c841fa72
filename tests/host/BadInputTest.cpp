#include <gtest/gtest.h>

#include <string>

#include "tests/host/ToolFixture.h"

namespace brontelx::testing {
namespace {

using BadInputTest = ToolFixture;

// Whatever a datum holds, validate answers with an exact text (printed escaped) and its exit code,
// and the databases do not change.
TEST_F(BadInputTest, OddDataGetExactAnswers) {
  const std::string notFound = " non trovata nell'archivio RUX.\n";
  const std::string lookupFailed = "ERR - Errore durante la verifica nel database RUX: ";
  const std::string rows = Query(Archive(), "SELECT COUNT(*) || '/' || MAX(ID) FROM BRONTELLOG");

  ChildResult result = Run({"validate", "1", "L'Aquila", "100% %s %d %n"});
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
  EXPECT_EQ(result.output, "ERR - Bolletta L'Aquila" + notFound + "ERR - Bolletta 100% %s %d %n" + notFound);

  // Longer than the code column: the lookup itself fails, and says why.
  for (const std::size_t length : {300u, 10000u}) {
    result = Run({"validate", "1", std::string(length, 'x')});
    EXPECT_EQ(ExitCode(result), 1) << result.errors;
    EXPECT_EQ(result.output.rfind(lookupFailed, 0), 0u) << result.output.substr(0, 200);
    EXPECT_NE(result.output.find("string right truncation"), std::string::npos);
  }

  // Bytes that are no UTF-8 reach the database as they are; the server refuses them; the terminal
  // gets them escaped.
  result = Run({"validate", "1", "BOL\xff\xfe"});
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
  EXPECT_EQ(result.output.rfind(lookupFailed, 0), 0u) << result.output;
  EXPECT_EQ(result.output.find('\xff'), std::string::npos) << result.output;

  // Greek and Chinese are texts like any other for the UTF8 demo databases.
  result = Run({"validate", "1", "Σίσυφος", "中文"});
  EXPECT_EQ(ExitCode(result), 1) << result.errors;
  EXPECT_EQ(result.output, "ERR - Bolletta Σίσυφος" + notFound + "ERR - Bolletta 中文" + notFound);

  EXPECT_EQ(Query(Archive(), "SELECT COUNT(*) || '/' || MAX(ID) FROM BRONTELLOG"), rows);
}

}  // namespace
}  // namespace brontelx::testing
