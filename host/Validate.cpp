#include "Validate.h"

#include <istream>
#include <optional>
#include <ostream>

#include "BrontelX.Classes.h"
#include "TerminalText.h"
#include "UnreachableDatabases.h"
#include "VelValidazPers.h"

namespace brontelx::cli {
namespace {

// The next line of `in` without its line end (LF, or CR LF as Windows files have); nullopt at the
// end. The first line loses a UTF-8 byte order mark, which Windows editors put before the text.
std::optional<std::string> NextLine(std::istream& in, bool first) {
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) {
    line.erase(0, 3);
    // A file that holds nothing but the mark holds no datum.
    if (line.empty() && in.eof()) return std::nullopt;
  }
  return line;
}

}  // namespace

int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out) {
  std::optional<std::string> line;
  if (command.fromStandardInput) {
    line = NextLine(in, true);
    if (!line) throw UsageError("standard input holds no datum: validate USER - reads one datum per line");
  }
  TSessione session;
  session.Avvia(command.user);
  const std::int32_t code = command.code.value_or(command.user);
  // Within one run, a delivery-note database that could not be reached is not waited for again
  // for every datum.
  UnreachableDatabases unreachable;
  bool allAccepted = true;
  const auto validate = [&](const std::string& datum) {
    const std::string result = EseguiValidazPers(session.IBDatabase(), command.function, code, datum, &unreachable);
    allAccepted = allAccepted && result == "OK";
    // A text of several lines (a server's message) continues on indented lines, so that each
    // result still starts a line of its own with OK or ERR.
    out << ResultText(result, datum, "  ") << std::endl;
  };
  if (command.fromStandardInput) {
    for (; line; line = NextLine(in, false)) validate(*line);
  } else {
    for (const std::string& datum : command.data) validate(datum);
  }
  return allAccepted ? 0 : 1;
}

}  // namespace brontelx::cli
