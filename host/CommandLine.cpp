#include "CommandLine.h"

#include <charconv>

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

std::int32_t ParseCode(const std::string& text, const std::string& what) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end)
    throw UsageError(what + " must be a user code, a whole number such as 1, not \"" + text + "\"");
  return value;
}

// The value of option `name` given as "--name VALUE" or "--name=VALUE" at arguments[i]; advances i
// past what it used.
std::string OptionValue(const std::vector<std::string>& arguments, std::size_t& i, const std::string& name) {
  const std::string& argument = arguments[i];
  if (argument.size() > name.size() && argument[name.size()] == '=') return argument.substr(name.size() + 1);
  if (i + 1 >= arguments.size()) throw UsageError(name + " needs a value");
  return arguments[++i];
}

ValidateCommand ParseValidate(const std::vector<std::string>& arguments) {
  ValidateCommand command;
  std::vector<std::string> positional;
  bool optionsEnded = false;
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = argument.substr(0, argument.find('='));
    if (optionsEnded || argument.rfind("--", 0) != 0) {
      positional.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (name == "--code") {
      command.code = ParseCode(OptionValue(arguments, i, name), "--code");
    } else if (name == "--function") {
      command.function = OptionValue(arguments, i, name);
    } else {
      throw UsageError("unknown option " + argument + " (validate takes --code and --function)");
    }
  }
  if (positional.empty()) throw UsageError("validate needs a USER and at least one DATUM");
  command.user = ParseCode(positional.front(), "USER");
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
    return InfoCommand{ParseCode(arguments[2], "USER")};
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
