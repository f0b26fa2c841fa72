#include "host/CommandLine.h"

#include <algorithm>
#include <array>

#include "base/Utf8Path.h"

namespace brontelx::cli {

#if !BRONTELX_DEMO
const char* const kNoDemo =
    "demo is not in the Windows build: it creates database files, which needs the embedded Firebird engine "
    "(brontelx demo --help tells more)";
#endif

const char* const kSynopsis =
    "usage: brontelx validate USER DATUM... [--code M] [--function NAME] [--format plain|tsv|json] [--jobs N]\n"
    "       brontelx validate USER - | --file FILE [options as above]\n"
    "       brontelx info USER\n"
    "       brontelx users\n"
    "       brontelx location USER [TEXT]\n"
#if BRONTELX_DEMO
    "       brontelx demo [FOLDER]\n"
#endif
    "       brontelx --version | --help | COMMAND --help\n";

namespace {

struct CommandHelp {
  std::string_view name;
  std::string_view text;
};

constexpr std::array kCommandHelp = {
    CommandHelp{"validate",
                "validate  starts a session for USER as a window does and writes one result per datum, in the\n"
                "          order of the data. \"-\" as the only DATUM reads one datum per line from standard\n"
                "          input, --file FILE from FILE; either must hold at least one. An argument that begins\n"
                "          with \"-\" is an option; data that begin with \"-\" go after \"--\".\n"
                "          --code M       the code the validation gets (default: USER)\n"
                "          --function N   the validation (default: VelZidBol)\n"
                "          --format F     plain: the result text, a text of several lines continuing on lines\n"
                "                         that begin with blanks (default); tsv: DATUM TAB RESULT; json: one\n"
                "                         object {\"datum\":...,\"result\":...} per line. In tsv a backslash,\n"
                "                         tab, line feed and carriage return are written \\\\ \\t \\n \\r.\n"
                "          --jobs N       validates on N sessions at once (1 to 64, default 1)\n"
                "          On a terminal, a batch that takes more than a few seconds shows its progress on\n"
                "          standard error, and ends with a summary there. A delivery-note database that\n"
                "          cannot be reached answers the following data at once with the same ERR text\n"
                "          for 60 seconds; then it is tried again.\n"
                "          Exit status 0 when every result is OK, 1 when any is an ERR text, 2 when the\n"
                "          arguments are wrong, the user does not exist or has no archive, 3 when a\n"
                "          database (user directory, archive, delivery notes) could not be reached.\n"},
    CommandHelp{"info",
                "info      shows the versions (this program, the Firebird client, each server), the\n"
                "          Firebird root and lock folder in use, where USER's databases are, how they are\n"
                "          reached, whether they attach and hold the tables they should.\n"
                "          Exit status 0 when all attach and hold their tables, 1 otherwise, 3 when a\n"
                "          database could not be attached.\n"},
    CommandHelp{"users",
                "users     lists the users of the user directory: code, name, company and \"Archivio\".\n"
                "          Exit status 0, 3 when the user directory could not be attached.\n"},
    CommandHelp{"location",
                "location  shows where USER's archive says the delivery-note database is (the shared value\n"
                "          VelZidBolDBRux), or stores TEXT there as the settings window stores it: exactly as\n"
                "          given, for every user of that archive.\n"
                "          Exit status 0, 1 when no location is stored, 2 when the arguments are wrong or\n"
                "          the session cannot start, 3 when a database could not be reached.\n"},
#if BRONTELX_DEMO
    CommandHelp{"demo",
                "demo      creates demo databases: the user directory beside this program, the company\n"
                "          archive and the delivery-note database in FOLDER (default: ./demo-data), then\n"
                "          validates a few codes. Only files of an earlier demo are replaced, and only when no\n"
                "          program has them open. Exit status 0 when done, 1 otherwise.\n"},
#else
    CommandHelp{"demo",
                "demo      is not in the Windows build: it creates database files, which needs the embedded\n"
                "          Firebird engine, and the Windows client reaches databases through a server only.\n"
                "          Run brontelx demo on Linux.\n"},
#endif
};

constexpr std::string_view kUserLine = "USER is a user code, a whole number such as 1.\n";

constexpr KnownOption kHelpOptions[] = {{"--help", false}, {"-h", false}};
constexpr KnownOption kValidateOptions[] = {{"--help", false},  {"-h", false},     {"--code", true}, {"--function", true},
                                            {"--format", true}, {"--jobs", true}, {"--file", true}};

std::int32_t UserCode(const std::string& text, const std::string& what) {
  return WholeNumber(text, what, "a user code, a whole number such as 1");
}

bool AsksForHelp(const SplitArguments& split) {
  return std::any_of(split.options.begin(), split.options.end(),
                     [](const SplitArguments::Option& option) { return option.name == "--help" || option.name == "-h"; });
}

SplitArguments SplitCommand(const std::vector<std::string>& arguments, std::span<const KnownOption> known) {
  const std::string& command = arguments[1];
  try {
    return Split(std::vector<std::string>(arguments.begin() + 2, arguments.end()), known);
  } catch (const UsageError& e) {
    throw UsageError(std::string(e.what()) + " (brontelx " + command + " --help tells its options)");
  }
}

ResultFormat Format(const std::string& text) {
  if (text == "plain") return ResultFormat::Plain;
  if (text == "tsv") return ResultFormat::Tsv;
  if (text == "json") return ResultFormat::Json;
  throw UsageError("--format must be plain, tsv or json, not \"" + text + "\"");
}

Command ParseValidate(SplitArguments split) {
  ValidateCommand command;
  for (const SplitArguments::Option& option : split.options) {
    if (option.name == "--code") {
      command.code = UserCode(option.value, "--code");
    } else if (option.name == "--function") {
      command.function = option.value;
    } else if (option.name == "--format") {
      command.format = Format(option.value);
    } else if (option.name == "--jobs") {
      command.jobs = WholeNumber(option.value, "--jobs", "a whole number from 1 to 64", 1, 64);
    } else if (option.name == "--file") {
      if (option.value.empty()) throw UsageError("--file needs a FILE");
      command.file = PathFromUtf8(option.value);
    }
  }
  std::vector<std::string>& positional = split.positional;
  if (positional.empty()) throw UsageError("validate needs a USER and at least one DATUM");
  command.user = UserCode(positional.front(), "USER");
  positional.erase(positional.begin());
  if (!command.file.empty()) {
    if (!positional.empty()) throw UsageError("validate takes its data either from --file or as DATUM, not both");
    return command;
  }
  if (positional.empty()) throw UsageError("validate needs at least one DATUM after USER (or - to read standard input)");
  if (positional.size() == 1 && positional.front() == "-") {
    command.fromStandardInput = true;
  } else {
    for (const std::string& datum : positional) {
      if (datum == "-") throw UsageError("- (read standard input) must be the only DATUM");
    }
    command.data = std::move(positional);
  }
  return command;
}

}  // namespace

std::string HelpText(const std::string& command) {
  std::string text;
  for (const CommandHelp& help : kCommandHelp) {
    if (command.empty() || help.name == command) text += help.text;
  }
  return std::string(kSynopsis) + "\n" + std::string(kUserLine) + text;
}

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) throw UsageError("no command given");
  const std::string& command = arguments[1];
  if (command == "--help" || command == "-h") return HelpCommand{};
  if (command == "--version" || command == "-V") return VersionCommand{};
  if (command == "help") {
    if (arguments.size() > 3) throw UsageError("help takes at most one COMMAND");
    const std::string topic = arguments.size() == 3 ? arguments[2] : std::string();
    const bool known = topic.empty() || std::any_of(kCommandHelp.begin(), kCommandHelp.end(),
                                                    [&](const CommandHelp& help) { return help.name == topic; });
    if (!known) throw UsageError("unknown command \"" + topic + "\"");
    return HelpCommand{topic};
  }
  const bool known = std::any_of(kCommandHelp.begin(), kCommandHelp.end(),
                                 [&](const CommandHelp& help) { return help.name == command; });
  if (!known) throw UsageError("unknown command \"" + command + "\"");

  SplitArguments split = SplitCommand(arguments, command == "validate" ? std::span<const KnownOption>(kValidateOptions)
                                                                        : std::span<const KnownOption>(kHelpOptions));
  if (AsksForHelp(split)) return HelpCommand{command};
  const std::vector<std::string>& positional = split.positional;
  if (command == "validate") return ParseValidate(std::move(split));
  if (command == "info") {
    if (positional.size() != 1) throw UsageError("info takes exactly one USER");
    return InfoCommand{UserCode(positional[0], "USER")};
  }
  if (command == "users") {
    if (!positional.empty()) throw UsageError("users takes no arguments");
    return UsersCommand{};
  }
  if (command == "location") {
    if (positional.empty() || positional.size() > 2) throw UsageError("location takes a USER and at most one TEXT");
    LocationCommand location{UserCode(positional[0], "USER"), std::nullopt};
    if (positional.size() == 2) location.text = positional[1];
    return location;
  }
  if (positional.size() > 1) throw UsageError("demo takes at most one FOLDER");
  const std::filesystem::path folder = positional.empty() ? "demo-data" : positional[0];
  if (folder.empty()) throw UsageError("FOLDER must not be empty");
  return DemoCommand{std::filesystem::absolute(folder).lexically_normal()};
}

}  // namespace brontelx::cli
