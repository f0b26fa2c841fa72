#include "base/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Iconv.h"
#include "database/Charsets.h"

namespace brontelx {
namespace {

using namespace std::string_literals;

TEST(TextCodecTest, SingleByteEncodingsRoundTrip) {
  // Every byte value decodes and encodes back to itself.
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(text::Utf8ToCp1252(text::Cp1252ToUtf8(all)), all);
  EXPECT_EQ(text::Utf8ToLatin1(text::Latin1ToUtf8(all)), all);
  EXPECT_EQ(text::Cp1252ToUtf8("Citt\xE0 \x80 \x9F"), "Città € Ÿ");
  EXPECT_EQ(text::Latin1ToUtf8("Citt\xE0 \x80"), "Città \xC2\x80");
  EXPECT_EQ(text::Utf8ToIconv("CP1250", "Łódź"), "\xA3\xF3" "d\x9F");
  EXPECT_EQ(text::IconvToUtf8("CP1250", "\xA3\xF3" "d\x9F"), "Łódź");
  // Characters the encoding cannot hold, and text that is not UTF-8, do not encode.
  EXPECT_EQ(text::Utf8ToCp1252("漢"), std::nullopt);
  EXPECT_EQ(text::Utf8ToLatin1("€"), std::nullopt);
  EXPECT_EQ(text::Utf8ToIconv("CP1250", "漢"), std::nullopt);
  EXPECT_EQ(text::Utf8ToCp1252("Citt\xE0"), std::nullopt);
  EXPECT_EQ(text::Utf8ToIconv("NO-SUCH-ENCODING", "a"), std::nullopt);
  EXPECT_FALSE(text::IconvKnows("NO-SUCH-ENCODING"));
}

TEST(TextCodecTest, InvalidUtf8IsReplacedNeverPassedOn) {
  for (const std::string& bad : {"\xC0\xAF"s, "\xED\xA0\x80"s, "\xF4\x90\x80\x80"s, "\xE2\x82"s, "\x80"s, "\xFF"s}) {
    EXPECT_FALSE(text::IsValidUtf8(bad)) << bad;
    const std::string sanitized = text::SanitizeUtf8("a" + bad + "b");
    EXPECT_TRUE(text::IsValidUtf8(sanitized));
    EXPECT_EQ(sanitized.front(), 'a');
    EXPECT_EQ(sanitized.back(), 'b');
    EXPECT_NE(sanitized.find("\xEF\xBF\xBD"), std::string::npos) << bad;
  }
  EXPECT_EQ(text::SanitizeUtf8("\xE2\x82" "Ab"), "\xEF\xBF\xBD\xEF\xBF\xBD" "Ab");
  EXPECT_TRUE(text::IsValidUtf8("Città € 𝄞"));
  EXPECT_EQ(text::SanitizeUtf8("Città € 𝄞"), "Città € 𝄞");
  EXPECT_EQ(text::IconvToUtf8("UTF-8", "a\xFF" "b"), "a\xEF\xBF\xBD" "b");
}

TEST(TextCodecTest, DecoderStepsOverWholeCharacters) {
  const std::string sample = "a\xC3\xA0\xE2\x82\xAC\xF0\x9D\x84\x9E\xC3";
  std::size_t pos = 0;
  EXPECT_EQ(text::DecodeUtf8(sample, pos), U'a');
  EXPECT_EQ(text::DecodeUtf8(sample, pos), U'à');
  EXPECT_EQ(text::DecodeUtf8(sample, pos), U'€');
  EXPECT_EQ(text::DecodeUtf8(sample, pos), U'𝄞');
  EXPECT_EQ(pos, 10u);
  EXPECT_EQ(text::DecodeUtf8(sample, pos), text::kInvalidCodePoint);
  EXPECT_EQ(pos, sample.size());
  EXPECT_EQ(text::Utf8Length("Città €"), 7u);
}

TEST(TextCodecTest, Utf16LittleEndianWithSurrogates) {
  EXPECT_EQ(text::Utf16LeToUtf8("C\0\xE0\0\xAC\x20"s), "Cà€");
  EXPECT_EQ(text::Utf16LeToUtf8("\x34\xD8\x1E\xDD"s), "𝄞");
  EXPECT_EQ(text::Utf16LeToUtf8("\x34\xD8" "A\0"s), "\xEF\xBF\xBD" "A");
  EXPECT_EQ(text::Utf16LeToUtf8("A\0B"s), "A");
}

TEST(TextCodecTest, DatabaseCharacterSetsPickTheirEncoding) {
  const auto win1252 = db::charsets::ByteEncoding::ForCharset("WIN1252 ");
  EXPECT_EQ(win1252.Decode("\x80"), "€");
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("NONE").Decode("\x80"), "€");
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("").Encode("€"), "\x80");
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("ISO8859_1").Encode("€"), std::nullopt);
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("UTF8").Decode("\xFF"), "\xEF\xBF\xBD");
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("WIN1250").Encode("Ł"), "\xA3");
  EXPECT_EQ(db::charsets::ByteEncoding::ForCharset("ISO8859_2").Decode("\xA3"), "Ł");
  EXPECT_THROW(db::charsets::ByteEncoding::ForCharset("NO_SUCH_SET"), std::runtime_error);
}

}  // namespace
}  // namespace brontelx
