// brontelx: the command-line tool of support staff and scripts: validate, info, demo. "brontelx
// --help" tells how it is called.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "ClientShutdown.h"
#include "CommandLine.h"
#include "Demo.h"
#include "Info.h"
#include "Interrupt.h"
#include "TerminalText.h"
#include "Validate.h"

namespace {

using namespace brontelx::cli;

// Exit status when a command fails with an error: validate keeps 1 for refused data.
int FailureStatus(const Command& command) { return std::holds_alternative<ValidateCommand>(command) ? 2 : 1; }

int Run(const Command& command) {
  if (std::holds_alternative<HelpCommand>(command)) {
    std::cout << kSynopsis << "\n" << kDetails;
    return 0;
  }
  if (const auto* validate = std::get_if<ValidateCommand>(&command)) return RunValidate(*validate, std::cin, std::cout);
  if (const auto* info = std::get_if<InfoCommand>(&command)) return RunInfo(info->user, std::cout);
  return RunDemo(std::get<DemoCommand>(command).folder);
}

int UsageFailure(const UsageError& e) {
  std::cout.flush();
  return ReportUsageError("brontelx", MessageText(e.what()),
                          std::string(kSynopsis) + "USER is a user code, a whole number such as 1. brontelx --help tells more.\n");
}

}  // namespace

int main(int argc, char** argv) {
  EndOnSignal();

  Command command;
  try {
    command = ParseCommandLine(std::vector<std::string>(argv, argv + argc));
  } catch (const UsageError& e) {
    return UsageFailure(e);
  }
  int status;
  try {
    status = Run(command);
  } catch (const UsageError& e) {
    status = UsageFailure(e);
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "brontelx: " << MessageText(e.what()) << "\n";
    status = FailureStatus(command);
  }
  try {
    // A program ends the client's threads before it exits; the library never does.
    brontelx::db::ShutdownClient();
  } catch (const std::exception& e) {
    std::cerr << "brontelx: " << MessageText(e.what()) << "\n";
  }
  return status;
}
