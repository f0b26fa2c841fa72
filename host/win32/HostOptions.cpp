#include "host/win32/HostOptions.h"

#include "host/Arguments.h"
#include "platform/win32/WideText.h"

namespace brontelx::winhost {
namespace {

using cli::UsageError;

constexpr cli::KnownOption kOptions[] = {
    {"--user", true}, {"--window-log", true}, {"--error", true},      {"--set", true},   {"--click", true},
    {"--read", true}, {"--screenshot", true}, {"--controls", true}, {"--close", false}};

}  // namespace

const char* const kUsage =
    "usage: brontelx-winhost LIBRARY EXPORT [--user N] [--window-log N] [--error EXPORT] "
    "[--set NAME=TEXT] [--click NAME] [--read NAME] [--screenshot FILE.png] [--controls FILE] [--close]\n"
    "EXPORT is an export's name, or #N for the export with ordinal N.\n";

HostOptions ParseOptions(const std::vector<std::wstring>& arguments) {
  using platform::win32::ToUtf8;
  using platform::win32::ToWide;
  std::vector<std::string> texts;
  for (const std::wstring& argument : arguments) texts.push_back(ToUtf8(argument));
  const cli::SplitArguments split = cli::Split(texts, kOptions);
  HostOptions options;
  for (const cli::SplitArguments::Option& option : split.options) {
    const std::string& value = option.value;
    if (option.name == "--user") {
      options.user = cli::WholeNumber(value, "--user", "a user code, a whole number such as 1");
    } else if (option.name == "--window-log") {
      options.windowLog = cli::WholeNumber(value, "--window-log", "a whole number");
    } else if (option.name == "--error") {
      options.errorEntry = value;
    } else if (option.name == "--set") {
      const std::size_t equals = value.find('=');
      if (equals == std::string::npos || equals == 0) throw UsageError("--set needs NAME=TEXT, not " + value);
      options.actions.push_back({ControlAction::Kind::Set, value.substr(0, equals), value.substr(equals + 1)});
    } else if (option.name == "--click") {
      options.actions.push_back({ControlAction::Kind::Click, value, {}});
    } else if (option.name == "--read") {
      options.actions.push_back({ControlAction::Kind::Read, value, {}});
    } else if (option.name == "--screenshot") {
      options.screenshot = ToWide(value);
    } else if (option.name == "--controls") {
      options.controls = ToWide(value);
    } else {
      options.close = true;
    }
  }
  if (split.positional.size() != 2) throw UsageError("name the LIBRARY and the EXPORT");
  options.library = ToWide(split.positional[0]);
  options.entry = split.positional[1];
  return options;
}

}  // namespace brontelx::winhost
