#include <gtest/gtest.h>

#include <string>

#include "tests/validations/VelZidBolFixture.h"

namespace brontelx {
namespace {

const std::string kCheckFailed = "ERR - Errore durante la verifica nel database RUX: ";
const std::string kTruncation =
    "arithmetic exception, numeric overflow, or string truncation\n-string right truncation\n-expected "
    "length 20, "
    "actual ";

// The same data give the same result texts whatever the databases' default character set: 7-bit
// ASCII data, whose count needs no description from the server, as well as the others.
class VelZidBolCharsetTest : public testing::VelZidBolFixture,
                             public ::testing::WithParamInterface<const char*> {
 protected:
  VelZidBolCharsetTest() : VelZidBolFixture(GetParam()) {}
};

TEST_P(VelZidBolCharsetTest, ResultTextsDoNotDependOnTheCharacterSet) {
  for (const char* code : {"B5", "B7", "Città-1", "Città-3", "B5 "}) AddDeliveryNote(code);
  Log(4, 40, "APERTURA");
  for (const char* datum : {"B5", "Città-1", "Città-3"}) Log(4, 40, datum);
  Log(4, 41, "Città-3");
  Log(4, 41, "B7");
  const struct {
    std::string datum;
    std::string result;
  } kCases[] = {
      {"B5", "OK"},
      {"Città-1", "OK"},
      {"B6", "ERR - Bolletta B6 non trovata nell'archivio RUX."},
      {"Città-2", "ERR - Bolletta Città-2 non trovata nell'archivio RUX."},
      {"B7", "ERR - Bolletta B7 non associata a nessuna catena di APERTURA."},
      {"", "ERR - Bolletta  non trovata nell'archivio RUX."},
      {" B5", "ERR - Bolletta  B5 non trovata nell'archivio RUX."},
      // Trailing blanks do not count in the database's comparison of texts.
      {"B5  ", "OK"},
      // Run without a description, the statement's conversion of the datum fails under the
      // server's Dynamic SQL heading.
      {std::string(21, 'x'),
       kCheckFailed + "Dynamic SQL Error\n-SQL error code = -303\n-" + kTruncation + "21"},
      {"Città-Città-Città-Ci", "ERR - Bolletta Città-Città-Città-Ci non trovata nell'archivio RUX."},
  };
  for (const auto& [datum, result] : kCases) EXPECT_EQ(Run(1, datum), result) << '"' << datum << '"';
  // Described, the marker takes the same conversion; the engine's heading and the actual length it
  // names (characters or bytes) depend on the sets it converts between.
  const std::string tooLong = Run(1, "Città-Città-Città-Cit");
  EXPECT_EQ(tooLong.rfind(kCheckFailed, 0), 0u) << tooLong;
  EXPECT_NE(tooLong.find(kTruncation), std::string::npos) << tooLong;
}

INSTANTIATE_TEST_SUITE_P(Charsets, VelZidBolCharsetTest, ::testing::Values("UTF8", "WIN1252", "NONE"));

}  // namespace
}  // namespace brontelx
