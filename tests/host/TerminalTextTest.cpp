#include <gtest/gtest.h>

#include <string>

#include "host/TerminalText.h"

namespace brontelx::cli {
namespace {

TEST(TerminalTextTest, EscapesControlCharactersAndBytesThatAreNotUtf8) {
  EXPECT_EQ(Escaped("A\x1b[31mB\a\tC\nD\rE\x7f"), "A\\x1b[31mB\\x07\\tC\\nD\\rE\\x7f");
  EXPECT_EQ(Escaped(std::string("a\0b", 3)), "a\\x00b");
  // C1 controls: U+009B starts an escape sequence on some terminals, U+0085 is a line break.
  EXPECT_EQ(Escaped("\xc2\x9b" "2J\xc2\x85"), "\\u009B2J\\u0085");
  // A stray continuation byte, a cut sequence, an overlong '/', a surrogate.
  EXPECT_EQ(Escaped("a\x80" "b\xc3"), "a\\x80b\\xc3");
  EXPECT_EQ(Escaped("\xc0\xaf"), "\\xc0\\xaf");
  EXPECT_EQ(Escaped("\xed\xa0\x80"), "\\xed\\xa0\\x80");
  // Printable text of any script stays as it is, backslashes of Windows paths included.
  EXPECT_EQ(Escaped("Città € 𝄞 D:\\Dati\\ditta.fdb"), "Città € 𝄞 D:\\Dati\\ditta.fdb");
}

TEST(TerminalTextTest, MessagesShowTheirLineBreaksAsLineBreaks) {
  EXPECT_EQ(MessageText("Fallita connessione all'archivio \"x\"\r\nI/O error\n-No such file", "  "),
            "Fallita connessione all'archivio \"x\"\n  I/O error\n  -No such file");
  // A lone CR would overwrite the line: it is escaped like any other control character.
  EXPECT_EQ(MessageText("a\rb\x1b[K"), "a\\rb\\x1b[K");
}

TEST(TerminalTextTest, ResultsEscapeTheDatumWhereverTheyQuoteIt) {
  const std::string datum = "X\n\x1b]0;title\a";
  EXPECT_EQ(ResultText("ERR - Bolletta " + datum + " non trovata nell'archivio RUX.", datum),
            "ERR - Bolletta X\\n\\x1b]0;title\\x07 non trovata nell'archivio RUX.");
  // The server's own line breaks stay, indented; a plain or empty datum changes nothing else.
  EXPECT_EQ(ResultText("ERR - Bolletta " + datum + ": a\nb", datum, "  "),
            "ERR - Bolletta X\\n\\x1b]0;title\\x07: a\n  b");
  EXPECT_EQ(ResultText("ERR - Errore: a\nb", "plain", "  "), "ERR - Errore: a\n  b");
  EXPECT_EQ(ResultText("ERR - Bolletta  non trovata\x1b", ""), "ERR - Bolletta  non trovata\\x1b");
}

}  // namespace
}  // namespace brontelx::cli
