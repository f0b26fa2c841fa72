#include "host/Arguments.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace brontelx::cli {

namespace {

// "-" stands for standard input, and "-3" is a number (a user code may be negative).
bool IsOptionLike(const std::string& argument) {
  if (argument.size() < 2 || argument[0] != '-') return false;
  return !std::all_of(argument.begin() + 1, argument.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

SplitArguments Split(const std::vector<std::string>& arguments, std::span<const KnownOption> known) {
  SplitArguments split;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || !IsOptionLike(argument)) {
      split.positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = argument.rfind("--", 0) == 0 ? argument.find('=') : std::string::npos;
    const std::string name = argument.substr(0, equals);
    const auto option =
        std::find_if(known.begin(), known.end(), [&](const KnownOption& candidate) { return candidate.name == name; });
    if (option == known.end()) throw UsageError("unknown option " + name);
    if (!option->takesValue) {
      if (equals != std::string::npos) throw UsageError(name + " takes no value");
      split.options.push_back({name, {}});
    } else if (equals != std::string::npos) {
      split.options.push_back({name, argument.substr(equals + 1)});
    } else {
      if (i + 1 >= arguments.size()) throw UsageError(name + " needs a value");
      split.options.push_back({name, arguments[++i]});
    }
  }
  return split;
}

std::int32_t WholeNumber(const std::string& text, const std::string& what, const std::string& expected,
                         std::int32_t min, std::int32_t max) {
  std::int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < min || value > max)
    throw UsageError(what + " must be " + expected + ", not \"" + text + "\"");
  return value;
}

int ReportUsageError(std::string_view program, std::string_view problem, std::string_view usage) {
  std::fprintf(stderr, "%.*s: %.*s\n%.*s", static_cast<int>(program.size()), program.data(),
               static_cast<int>(problem.size()), problem.data(), static_cast<int>(usage.size()), usage.data());
  return 2;
}

}  // namespace brontelx::cli
