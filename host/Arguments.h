#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The command-line reading that the project's programs share (brontelx, brontelx-host,
// brontelx-winhost): options and positional arguments in any order, whole numbers checked against
// their range, and one way of reporting a command line that cannot run.
namespace brontelx::cli {

// A command line that cannot run: the program reports it with ReportUsageError.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An option a program accepts: "--name VALUE" (or "--name=VALUE") when it takes a value, else
// "--name" alone.
struct KnownOption {
  std::string_view name;
  bool takesValue;
};

// A command line split into its options, in the order given, and its positional arguments.
struct SplitArguments {
  struct Option {
    std::string name;
    std::string value;  // empty for an option that takes none
  };
  std::vector<Option> options;
  std::vector<std::string> positional;
};

// Splits `arguments` (the program's name left out). An argument that begins with "-" is an option
// ("--name", "--name=VALUE" or a short "-x"), except "-" alone and a negative whole number; "--"
// alone ends the options, and everything after it is positional. So a mistyped option is never
// taken for a folder or a datum. Throws UsageError for an option not in `known`, a missing value,
// or a value given to an option that takes none.
SplitArguments Split(const std::vector<std::string>& arguments, std::span<const KnownOption> known);

// `text` as a whole number from `min` to `max`, written in decimal with nothing around it. Throws
// UsageError "<what> must be <expected>, not "<text>"".
std::int32_t WholeNumber(const std::string& text, const std::string& what, const std::string& expected,
                         std::int32_t min = std::numeric_limits<std::int32_t>::min(),
                         std::int32_t max = std::numeric_limits<std::int32_t>::max());

// Writes "<program>: <problem>" and then `usage` to standard error, and returns 2, the exit status
// of a command line that cannot run.
int ReportUsageError(std::string_view program, std::string_view problem, std::string_view usage);

}  // namespace brontelx::cli
