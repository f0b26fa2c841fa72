#include "CommandLine.h"

namespace brontelx::cli {

const char* const kSynopsis =
    "usage: brontelx validate USER DATUM... [--code M] [--function NAME]\n"
    "       brontelx validate USER - [--code M] [--function NAME]\n"
    "       brontelx info USER\n"
    "       brontelx demo [FOLDER]\n";

const char* const kDetails =
    "USER is a user code, a whole number such as 1.\n"
    "validate  starts a session for USER as a window does and prints one result text per datum\n"
    "          (a text of several lines continues on lines that begin with blanks);\n"
    "          \"-\" as the only DATUM reads one datum per line from standard input, which must\n"
    "          hold at least one. The validation gets the code M (default: USER) and is the one\n"
    "          named NAME (default: VelZidBol). A delivery-note database that cannot be reached\n"
    "          answers the following data at once with the same ERR text for 60 seconds; then it\n"
    "          is tried again.\n"
    "          Exit status 0 when every result is OK, 1 when any is an ERR text, 2 when the session\n"
    "          cannot start, a validation fails or the arguments are wrong.\n"
    "info      shows where USER's databases are, how they are reached and whether they attach.\n"
    "          Exit status 0 when all attach, 1 otherwise.\n"
    "demo      creates demo databases: the user directory beside this program, the company archive\n"
    "          and the delivery-note database in FOLDER (default: ./demo-data), then validates a few\n"
    "          codes. Only files of an earlier demo are replaced, and only when no program has\n"
    "          them open. Exit status 0 when done, 1 otherwise.\n";

namespace {

std::int32_t UserCode(const std::string& text, const std::string& what) {
  return WholeNumber(text, what, "a user code, a whole number such as 1");
}

constexpr KnownOption kValidateOptions[] = {{"--code", true}, {"--function", true}};

ValidateCommand ParseValidate(const std::vector<std::string>& arguments) {
  ValidateCommand command;
  SplitArguments split;
  try {
    split = Split(std::vector<std::string>(arguments.begin() + 2, arguments.end()), kValidateOptions);
  } catch (const UsageError& e) {
    throw UsageError(std::string(e.what()) + " (validate takes --code and --function)");
  }
  for (const SplitArguments::Option& option : split.options) {
    if (option.name == "--code") {
      command.code = UserCode(option.value, "--code");
    } else {
      command.function = option.value;
    }
  }
  std::vector<std::string>& positional = split.positional;
  if (positional.empty()) throw UsageError("validate needs a USER and at least one DATUM");
  command.user = UserCode(positional.front(), "USER");
  positional.erase(positional.begin());
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

Command ParseCommandLine(const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) throw UsageError("no command given");
  const std::string& command = arguments[1];
  if (command == "--help" || command == "-h" || command == "help") return HelpCommand{};
  if (command == "validate") return ParseValidate(arguments);
  if (command == "info") {
    if (arguments.size() != 3) throw UsageError("info takes exactly one USER");
    return InfoCommand{UserCode(arguments[2], "USER")};
  }
  if (command == "demo") {
    if (arguments.size() > 3) throw UsageError("demo takes at most one FOLDER");
    const std::filesystem::path folder = arguments.size() == 3 ? arguments[2] : "demo-data";
    if (folder.empty()) throw UsageError("FOLDER must not be empty");
    return DemoCommand{std::filesystem::absolute(folder).lexically_normal()};
  }
  throw UsageError("unknown command \"" + command + "\"");
}

}  // namespace brontelx::cli
