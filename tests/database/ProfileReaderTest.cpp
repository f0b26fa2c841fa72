#include "base/ProfileReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "base/TextCodec.h"
#include "database/DBConnectionInfo.h"

namespace brontelx {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class ProfileReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("brontelx-profile-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  fs::path Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return dir_ / name;
  }
  std::string Read(const std::string& bytes, std::string_view key, std::string_view fallback = {}) {
    return ReadProfileString(Write("dati.ini", bytes), "CONFIG", key, fallback);
  }
  fs::path dir_;
};

// ASCII and Latin-1 text as UTF-16LE with BOM.
std::string Utf16LeWithBom(const std::string& latin1) {
  std::string bytes = "\xFF\xFE";
  for (const char c : latin1) bytes += {c, '\0'};
  return bytes;
}

TEST_F(ProfileReaderTest, LoadFromIniFileReplacesAllFourSettings) {
  TDBConnectionInfo info{"E:\\Dati\\a.fdb", "OLD", "Z", "Z:\\old.fdb", "OLD"};
  info.LoadFromIniFile(Write("dati.ini", "[Altro]\r\nAlias=NO\r\n[config]\r\n  nome SERVER \t=  SRVDATI  \r\n"
                                         "LETTERA disco server=E\r\n")
                           .string(),
                       "CONFIG");
  EXPECT_EQ(info.FileName, "E:\\Dati\\a.fdb");
  EXPECT_EQ(info.NomeServer, "SRVDATI");
  EXPECT_EQ(info.LetteraDiscoServer, "E");
  EXPECT_EQ(info.PercorsoDatabase, "");
  EXPECT_EQ(info.Alias, "");
  EXPECT_EQ(info.GetIBFileName(), "\\\\SRVDATI\\E:\\Dati\\a.fdb");

  info.LoadFromIniFile(Write("x.ini", "[CONFIG]\nPercorsoDatabase = \"D:\\Db\\Ditta.fdb\"\nAlias=DITTA\n").string(),
                       "Config");
  EXPECT_EQ(info.NomeServer, "");
  EXPECT_EQ(info.PercorsoDatabase, "D:\\Db\\Ditta.fdb");
  EXPECT_EQ(info.Alias, "DITTA");

  fs::create_directory(dir_ / "cartella.ini");
  for (const fs::path& missing : {dir_ / "missing.ini", dir_ / "cartella.ini"}) {
    info.LoadFromIniFile(missing.string(), "CONFIG");
    EXPECT_EQ(info.NomeServer + info.LetteraDiscoServer + info.PercorsoDatabase + info.Alias, "") << missing;
  }
}

TEST_F(ProfileReaderTest, LineRules) {
  const std::string ini =
      "Alias=before any section\r"
      "; Alias=commented\r"
      "[ città ]\n"
      "Alias\n"
      "ALIAS = first ; not a comment \n"
      "alias=second\n"
      "Pair=\"quoted\"\r\n"
      "Single=' kept blanks '\r\n"
      "Mixed=\"a'\r\n"
      "Lone=\"\r\n"
      "Empty=''\r\n"
      "Equals=a=b\r\n"
      "Nul=ab\0cd\r\n"
      "[CITTÀ]\r\n"
      "Other=second section\r\n"s;
  const auto read = [&](std::string_view section, std::string_view key) {
    return ReadProfileString(Write("rules.ini", ini), section, key, "def  ");
  };
  EXPECT_EQ(read("CITTÀ", "Alias"), "first ; not a comment");
  EXPECT_EQ(read(" Città ", " alias "), "first ; not a comment");
  EXPECT_EQ(read("città", "Pair"), "quoted");
  EXPECT_EQ(read("città", "Single"), " kept blanks ");
  EXPECT_EQ(read("città", "Mixed"), "\"a'");
  EXPECT_EQ(read("città", "Lone"), "\"");
  EXPECT_EQ(read("città", "Empty"), "");
  EXPECT_EQ(read("città", "Equals"), "a=b");
  EXPECT_EQ(read("città", "Nul"), "ab");
  EXPECT_EQ(read("città", "Other"), "def");
  EXPECT_EQ(read("", "Alias"), "def");
  EXPECT_EQ(read("città", ";"), "def");
}

TEST_F(ProfileReaderTest, LongValueKeeps2047Characters) {
  EXPECT_EQ(Read("[CONFIG]\nAlias=" + std::string(3000, 'x') + "\n", "Alias"), std::string(2047, 'x'));
  std::string accented;
  for (int i = 0; i < 3000; ++i) accented += "\xC3\xA0";
  const std::string value = Read("[CONFIG]\nAlias=\"" + accented + "\"\n", "Alias");
  EXPECT_EQ(text::Utf8Length(value), 2047u);
  EXPECT_EQ(value, accented.substr(0, 2 * 2047));
}

TEST_F(ProfileReaderTest, FileEncodings) {
  EXPECT_EQ(Read(Utf16LeWithBom("[CONFIG]\r\nNome Server=Citt\xE0\r\n"), "Nome Server"), "Citt\xC3\xA0");
  EXPECT_EQ(Read("[CONFIG]\r\nNome Server=Citt\xE0 \x80\r\n", "Nome Server"), "Citt\xC3\xA0 \xE2\x82\xAC");
  EXPECT_EQ(Read("\xEF\xBB\xBF[CONFIG]\nNome Server=Citt\xC3\xA0\n", "Nome Server"), "Citt\xC3\xA0");
  EXPECT_EQ(Read("[CONFIG]\nNome Server=Citt\xC3\xA0\n", "Nome Server"), "Citt\xC3\xA0");
}

TEST_F(ProfileReaderTest, MalformedFilesGiveTheDefault) {
  std::mt19937 random(541);
  std::string binary(1 << 16, '\0');
  for (char& c : binary) c = static_cast<char>(random());
  for (const std::string& bytes : {binary, std::string(4096, '\0'), "\xFF\xFE[\0"s, std::string(),
                                   std::string("Alias=DITTA\n"), std::string("[CONFIG\nAlias=DITTA\n"),
                                   std::string("[CONFIG]\nAlias\nDITTA\n")}) {
    EXPECT_EQ(Read(bytes, "Alias", "none"), "none");
  }
  const std::string longLine(4 << 20, 'a');
  EXPECT_EQ(Read(longLine + "\n[CONFIG]\nAlias=DITTA\n", "Alias"), "DITTA");
  EXPECT_EQ(Read("[CONFIG]\nAlias=" + longLine, "Alias"), longLine.substr(0, 2047));
  // What lies past the bytes the reader takes from a file is not seen.
  EXPECT_EQ(Read(std::string(kMaxProfileFileBytes, '\n') + "[CONFIG]\nAlias=DITTA\n", "Alias", "none"), "none");
  fs::create_directory(dir_ / "cartella.ini");
  EXPECT_EQ(ReadProfileString(dir_ / "cartella.ini", "CONFIG", "Alias", "none"), "none");
}

}  // namespace
}  // namespace brontelx
