#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "host/Arguments.h"

namespace brontelx::cli {

// "--help": the whole help, or one command's when `command` names it.
struct HelpCommand {
  std::string command;
};

struct VersionCommand {};

// How validate writes its results: plain (the result text; a text of several lines continues on
// indented lines), tsv (datum TAB result) or json (one object per line).
enum class ResultFormat { Plain, Tsv, Json };

struct ValidateCommand {
  std::int32_t user = 0;
  std::vector<std::string> data;  // empty when the data come from standard input ("-") or a file
  bool fromStandardInput = false;
  std::filesystem::path file;  // --file: one datum per line
  std::optional<std::int32_t> code;  // passed to the validation instead of the user's code
  std::string function = "VelZidBol";
  ResultFormat format = ResultFormat::Plain;
  int jobs = 1;  // sessions that validate at once
};

struct InfoCommand {
  std::int32_t user = 0;
};

struct UsersCommand {};

// Reads the delivery-note database's location (VelZidBolDBRux) in USER's archive, or stores `text`.
struct LocationCommand {
  std::int32_t user = 0;
  std::optional<std::string> text;
};

struct DemoCommand {
  std::filesystem::path folder;  // absolute
};

using Command =
    std::variant<HelpCommand, VersionCommand, ValidateCommand, InfoCommand, UsersCommand, LocationCommand, DemoCommand>;

// Reads the command line (argv[0] is the program). Throws UsageError.
Command ParseCommandLine(const std::vector<std::string>& arguments);

// How the tool is called; shown after a usage error, with a pointer to --help.
extern const char* const kSynopsis;
#if !BRONTELX_DEMO
// Why "demo" does not run in a build without it.
extern const char* const kNoDemo;
#endif
// What "brontelx --help" shows (`command` empty), or "brontelx COMMAND --help".
std::string HelpText(const std::string& command);

}  // namespace brontelx::cli
