// The character sets that are not built in convert through the operating system: iconv on Linux,
// the Windows code pages in BrontelX.dll. This file runs in both builds (the Linux database tests
// and the Windows core tests under Wine), so both give the same bytes for the same Firebird set.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/TextCodec.h"
#include "database/Charsets.h"
#include "database/DatabaseError.h"

namespace brontelx {
namespace {

using db::charsets::ByteEncoding;

TEST(SystemCodecTest, FirebirdCharsetsConvertAsTheirStandardsSay) {
  struct Sample {
    const char* charset;
    std::string utf8;
    std::string bytes;
  };
  const Sample samples[] = {
      {"WIN1250", "Łódź", "\xA3\xF3\x64\x9F"},
      {"ISO8859_2", "Łódź", "\xA3\xF3\x64\xBC"},
      {"WIN1251", "Москва", "\xCC\xEE\xF1\xEA\xE2\xE0"},
      {"KOI8R", "Москва", "\xED\xCF\xD3\xCB\xD7\xC1"},
      {"WIN1253", "Αθήνα", "\xC1\xE8\xDE\xED\xE1"},
      {"DOS850", "Città", "Citt\x85"},
      {"SJIS_0208", "日本", "\x93\xFA\x96\x7B"},
      {"GBK", "中文", "\xD6\xD0\xCE\xC4"},
      {"KSC_5601", "한국", "\xC7\xD1\xB1\xB9"},
  };
  for (const Sample& sample : samples) {
    SCOPED_TRACE(sample.charset);
    // RDB$CHARACTER_SET_NAME comes padded with blanks.
    const ByteEncoding encoding = ByteEncoding::ForCharset(std::string(sample.charset) + "   ");
    EXPECT_EQ(encoding.Encode(sample.utf8), sample.bytes);
    EXPECT_EQ(encoding.Decode(sample.bytes), sample.utf8);
    EXPECT_EQ(encoding.Encode(""), "");
    EXPECT_EQ(encoding.Decode(""), "");
  }
}

TEST(SystemCodecTest, WhatASetCannotHoldIsRefusedNeverApproximated) {
  // A best-fit substitute ("Ł" stored as "L") would store other text than the user typed.
  EXPECT_EQ(ByteEncoding::ForCharset("WIN1251").Encode("Łódź"), std::nullopt);
  EXPECT_EQ(ByteEncoding::ForCharset("WIN1250").Encode("漢"), std::nullopt);
  EXPECT_EQ(ByteEncoding::ForCharset("ISO8859_2").Encode("€"), std::nullopt);
  // Text that is not UTF-8 does not encode.
  EXPECT_EQ(ByteEncoding::ForCharset("WIN1250").Encode("Citt\xE0"), std::nullopt);
  // Bytes a set cannot read (a lead byte without its second byte) still give UTF-8.
  const std::string decoded = ByteEncoding::ForCharset("SJIS_0208").Decode("ab\x81");
  EXPECT_TRUE(text::IsValidUtf8(decoded));
  EXPECT_EQ(decoded.substr(0, 2), "ab");
  try {
    ByteEncoding::ForCharset("NO_SUCH_SET");
    ADD_FAILURE() << "an unknown set was accepted";
  } catch (const db::DatabaseError& e) {
    EXPECT_STREQ(e.what(), "Unsupported character set NO_SUCH_SET");
  }
}

}  // namespace
}  // namespace brontelx
