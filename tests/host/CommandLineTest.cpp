#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/CommandLine.h"

namespace brontelx::cli {
namespace {

Command Parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "brontelx");
  return ParseCommandLine(arguments);
}

std::string Refusal(const std::vector<std::string>& arguments) {
  try {
    Parse(arguments);
  } catch (const UsageError& e) {
    return e.what();
  }
  return "accepted";
}

TEST(CommandLineTest, ValidateTakesOptionsAnywhereAndDataAfterTheUser) {
  const auto command =
      std::get<ValidateCommand>(Parse({"validate", "--function=velzidbol", "7", "A", "--code", "-3", "B"}));
  EXPECT_EQ(command.user, 7);
  EXPECT_EQ(command.data, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(command.code, -3);
  EXPECT_EQ(command.function, "velzidbol");

  // Option-like data only after "--"; a negative number is a number.
  const auto plain = std::get<ValidateCommand>(Parse({"validate", "-5", "--", "-x", "--code"}));
  EXPECT_EQ(plain.user, -5);
  EXPECT_EQ(plain.data, (std::vector<std::string>{"-x", "--code"}));
  EXPECT_FALSE(plain.code.has_value());
  EXPECT_EQ(plain.function, "VelZidBol");

  const auto input = std::get<ValidateCommand>(Parse({"validate", "1", "-"}));
  EXPECT_TRUE(input.fromStandardInput);
  EXPECT_TRUE(input.data.empty());

  const auto batch =
      std::get<ValidateCommand>(Parse({"validate", "1", "--file", "list", "--format=json", "--jobs", "16"}));
  EXPECT_EQ(batch.file, "list");
  EXPECT_EQ(batch.format, ResultFormat::Json);
  EXPECT_EQ(batch.jobs, 16);
  EXPECT_TRUE(batch.data.empty());
}

// --help after any command answers for that command, and never becomes a folder or a datum.
TEST(CommandLineTest, HelpAndVersionAreAnsweredWherePeopleTypeThem) {
  for (const std::string command : {"validate", "info", "users", "location", "demo"}) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{command, "--help"}, {command, "1", "-h"}, {"help", command}}) {
      const Command parsed = Parse(arguments);
      ASSERT_TRUE(std::holds_alternative<HelpCommand>(parsed)) << arguments[0] << " " << arguments[1];
      EXPECT_EQ(std::get<HelpCommand>(parsed).command, command);
      EXPECT_NE(HelpText(command).find("\n" + command + " "), std::string::npos) << HelpText(command);
    }
  }
  EXPECT_TRUE(std::holds_alternative<VersionCommand>(Parse({"--version"})));
  EXPECT_EQ(std::get<DemoCommand>(Parse({"demo", "--", "--help"})).folder, std::filesystem::current_path() / "--help");
  const auto location = std::get<LocationCommand>(Parse({"location", "3", "srv/3050:/dati/rux.fdb"}));
  EXPECT_EQ(location.user, 3);
  EXPECT_EQ(location.text, "srv/3050:/dati/rux.fdb");
  EXPECT_FALSE(std::get<LocationCommand>(Parse({"location", "3"})).text.has_value());
}

TEST(CommandLineTest, RefusesWhatItCannotRunAndSaysWhy) {
  EXPECT_EQ(Refusal({"validate", "abc", "X"}), "USER must be a user code, a whole number such as 1, not \"abc\"");
  EXPECT_NE(Refusal({"validate", "2147483648", "X"}).find("USER must be a user code"), std::string::npos);
  EXPECT_NE(Refusal({"validate", " 1", "X"}).find("USER must be a user code"), std::string::npos);
  EXPECT_NE(Refusal({"info", "1x"}).find("USER must be a user code"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1"}).find("at least one DATUM"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "-"}).find("must be the only DATUM"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--cdoe", "2"}).find("unknown option --cdoe"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--code", "x"}).find("--code must be a user code"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--function"}).find("--function needs a value"), std::string::npos);
  EXPECT_NE(Refusal({"info"}).find("exactly one USER"), std::string::npos);
  EXPECT_NE(Refusal({"demo", "a", "b"}).find("at most one FOLDER"), std::string::npos);
  EXPECT_NE(Refusal({"demo", "-x"}).find("unknown option -x"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "-x"}).find("unknown option -x"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--format", "csv"}).find("--format must be plain, tsv or json"),
            std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--jobs", "0"}).find("--jobs must be"), std::string::npos);
  EXPECT_NE(Refusal({"validate", "1", "A", "--file", "list"}).find("not both"), std::string::npos);
  EXPECT_NE(Refusal({"users", "1"}).find("users takes no arguments"), std::string::npos);
  EXPECT_NE(Refusal({"location"}).find("location takes a USER"), std::string::npos);
  EXPECT_EQ(Refusal({"valdate", "1", "A"}), "unknown command \"valdate\"");
  EXPECT_EQ(Refusal({}), "no command given");
}

TEST(CommandLineTest, DemoFolderIsMadeAbsolute) {
  // The folder's path is stored in the databases and must work from any working folder.
  EXPECT_EQ(std::get<DemoCommand>(Parse({"demo", "rel/./x"})).folder, std::filesystem::current_path() / "rel" / "x");
  EXPECT_EQ(std::get<DemoCommand>(Parse({"demo"})).folder, std::filesystem::current_path() / "demo-data");
}

}  // namespace
}  // namespace brontelx::cli
