// brontelx: the command-line tool of support staff and scripts: validate, info, users, location,
// demo. "brontelx --help" tells how it is called.
#include "host/Program.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "database/ClientShutdown.h"
#include "host/AdminCommands.h"
#include "host/CommandLine.h"
#include "host/DatabaseContext.h"
#if BRONTELX_DEMO
#include "host/Demo.h"
#endif
#include "database/FbClient.h"
#include "host/FailureHint.h"
#include "host/Info.h"
#include "host/ProgramVersion.h"
#include "host/TerminalText.h"
#include "host/Validate.h"

namespace brontelx::cli {
namespace {

// Exit status when a command fails with an error: validate and location keep 1 for their answers.
int FailureStatus(const Command& command) {
  return std::holds_alternative<ValidateCommand>(command) || std::holds_alternative<LocationCommand>(command) ? 2 : 1;
}

std::string ClientVersion() {
  try {
    return ClientVersionText(brontelx::db::Util()->getClientVersion());
  } catch (const std::exception& e) {
    const std::string hint = FailureHint(e.what());
    return "not loaded: " + MessageText(e.what()) + (hint.empty() ? "" : "\nhint: " + hint);
  }
}

int Run(const Command& command) {
  if (const auto* help = std::get_if<HelpCommand>(&command)) {
    std::cout << HelpText(help->command);
    return 0;
  }
  if (std::holds_alternative<VersionCommand>(command)) {
    std::cout << VersionText("brontelx", ClientVersion());
    return 0;
  }
  if (const auto* validate = std::get_if<ValidateCommand>(&command)) return RunValidate(*validate, std::cin, std::cout);
  if (const auto* info = std::get_if<InfoCommand>(&command)) return RunInfo(info->user, std::cout);
  if (std::holds_alternative<UsersCommand>(command)) return RunUsers(std::cout);
  if (const auto* location = std::get_if<LocationCommand>(&command))
    return RunLocation(location->user, location->text, std::cout);
#if BRONTELX_DEMO
  return RunDemo(std::get<DemoCommand>(command).folder);
#else
  throw UsageError(kNoDemo);
#endif
}

int UsageFailure(const UsageError& e) {
  std::cout.flush();
  return ReportUsageError("brontelx", MessageText(e.what()),
                          std::string(kSynopsis) + "USER is a user code, a whole number such as 1. brontelx --help tells more.\n");
}

}  // namespace

int RunProgram(const std::vector<std::string>& arguments) {
  Command command;
  try {
    command = ParseCommandLine(arguments);
  } catch (const UsageError& e) {
    return UsageFailure(e);
  }
  int status;
  try {
    status = Run(command);
  } catch (const UsageError& e) {
    status = UsageFailure(e);
  } catch (const UnreachableDatabase& e) {
    std::cout.flush();
    // Its message is escaped already, part by part.
    std::cerr << "brontelx: " << e.what() << "\n";
    status = 3;
  } catch (const std::exception& e) {
    std::cout.flush();
    const std::string hint = FailureHint(e.what());
    std::cerr << "brontelx: " << MessageText(e.what()) << (hint.empty() ? "" : "\nhint: " + hint) << "\n";
    status = FailureStatus(command);
  }
  try {
    // A program ends the client's threads before it exits; the library never does.
    brontelx::db::ShutdownClient();
  } catch (const std::exception& e) {
    // After a failed start the engine's shutdown fails too ("connection shutdown"); the failure
    // has been reported already, and a second line would only hide it.
    if (status == 0) std::cerr << "brontelx: " << MessageText(e.what()) << "\n";
  }
  return status;
}

}  // namespace brontelx::cli
