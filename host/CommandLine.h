#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Arguments.h"

namespace brontelx::cli {

struct HelpCommand {};

struct ValidateCommand {
  std::int32_t user = 0;
  std::vector<std::string> data;  // empty when the data come from standard input ("-")
  bool fromStandardInput = false;
  std::optional<std::int32_t> code;  // passed to the validation instead of the user's code
  std::string function = "VelZidBol";
};

struct InfoCommand {
  std::int32_t user = 0;
};

struct DemoCommand {
  std::filesystem::path folder;  // absolute
};

using Command = std::variant<HelpCommand, ValidateCommand, InfoCommand, DemoCommand>;

// Reads the command line (argv[0] is the program). Throws UsageError.
Command ParseCommandLine(const std::vector<std::string>& arguments);

// How the tool is called; shown after a usage error, with a pointer to --help.
extern const char* const kSynopsis;
// What each command does and its exit codes: "brontelx --help" shows them after the synopsis.
extern const char* const kDetails;

}  // namespace brontelx::cli
