#include "HostOptions.h"

#include <stdexcept>

#include "WideText.h"

namespace brontelx::winhost {
namespace {

constexpr char kUsage[] =
    "usage: brontelx-winhost LIBRARY EXPORT [--user N] [--window-log N] [--error EXPORT] "
    "[--set NAME=TEXT] [--click NAME] [--read NAME] [--screenshot FILE.png] [--controls FILE] [--close]\n"
    "EXPORT is an export's name, or #N for the export with ordinal N.";

std::int32_t Integer(const std::wstring& text) {
  std::size_t used = 0;
  long value = 0;
  try {
    value = std::stol(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used == 0 || used != text.size()) throw std::invalid_argument("not a number: " + platform::win32::ToUtf8(text));
  return static_cast<std::int32_t>(value);
}

}  // namespace

HostOptions ParseOptions(const std::vector<std::wstring>& arguments) {
  using platform::win32::ToUtf8;
  HostOptions options;
  std::vector<std::wstring> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const auto value = [&]() -> const std::wstring& {
      if (i + 1 >= arguments.size()) throw std::invalid_argument(ToUtf8(argument) + " needs a value\n" + kUsage);
      return arguments[++i];
    };
    if (argument == L"--user") {
      options.user = Integer(value());
    } else if (argument == L"--window-log") {
      options.windowLog = Integer(value());
    } else if (argument == L"--error") {
      options.errorEntry = ToUtf8(value());
    } else if (argument == L"--set") {
      const std::string assignment = ToUtf8(value());
      const std::size_t equals = assignment.find('=');
      if (equals == std::string::npos || equals == 0)
        throw std::invalid_argument("--set needs NAME=TEXT, not " + assignment);
      options.actions.push_back(
          {ControlAction::Kind::Set, assignment.substr(0, equals), assignment.substr(equals + 1)});
    } else if (argument == L"--click") {
      options.actions.push_back({ControlAction::Kind::Click, ToUtf8(value()), {}});
    } else if (argument == L"--read") {
      options.actions.push_back({ControlAction::Kind::Read, ToUtf8(value()), {}});
    } else if (argument == L"--screenshot") {
      options.screenshot = value();
    } else if (argument == L"--controls") {
      options.controls = value();
    } else if (argument == L"--close") {
      options.close = true;
    } else if (argument.starts_with(L"--")) {
      throw std::invalid_argument("unknown option " + ToUtf8(argument) + "\n" + kUsage);
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.size() != 2) throw std::invalid_argument(kUsage);
  options.library = positional[0];
  options.entry = ToUtf8(positional[1]);
  return options;
}

}  // namespace brontelx::winhost
