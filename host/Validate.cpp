#include "Validate.h"

#include <istream>
#include <ostream>

#include "BrontelX.Classes.h"
#include "TerminalText.h"
#include "VelValidazPers.h"

namespace brontelx::cli {

int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out) {
  TSessione session;
  session.Avvia(command.user);
  const std::int32_t code = command.code.value_or(command.user);
  bool allAccepted = true;
  const auto validate = [&](const std::string& datum) {
    const std::string result = EseguiValidazPers(session.IBDatabase(), command.function, code, datum);
    allAccepted = allAccepted && result == "OK";
    // A text of several lines (a server's message) continues on indented lines, so that each
    // result still starts a line of its own with OK or ERR.
    out << ResultText(result, datum, "  ") << std::endl;
  };
  if (command.fromStandardInput) {
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      validate(line);
    }
  } else {
    for (const std::string& datum : command.data) validate(datum);
  }
  return allAccepted ? 0 : 1;
}

}  // namespace brontelx::cli
