#include "ChildProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

extern char** environ;

namespace brontelx::testing {

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
                           const std::vector<std::string>& environment) {
  std::vector<std::string> variables(environment);
  for (char** entry = environ; *entry; ++entry) {
    const std::string variable = *entry;
    const std::string name = variable.substr(0, variable.find('=') + 1);
    bool replaced = false;
    for (const std::string& given : environment) replaced = replaced || given.rfind(name, 0) == 0;
    if (!replaced) variables.push_back(variable);
  }
  std::vector<std::string> arguments{program.string()};
  arguments.insert(arguments.end(), args.begin(), args.end());
  auto pointers = [](std::vector<std::string>& texts) {
    std::vector<char*> result;
    for (std::string& text : texts) result.push_back(text.data());
    result.push_back(nullptr);
    return result;
  };
  std::vector<char*> argv = pointers(arguments);
  std::vector<char*> envp = pointers(variables);

  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  const int error = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (error != 0) {
    close(pipeEnds[0]);
    throw std::system_error(error, std::generic_category(), "cannot start " + program.string());
  }
  output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) Wait();
}

ChildProcess::Result ChildProcess::Wait() {
  Result result{-1, {}};
  char buffer[4096];
  ssize_t length;
  while ((length = read(output_, buffer, sizeof buffer)) > 0 || (length < 0 && errno == EINTR)) {
    if (length > 0) result.output.append(buffer, static_cast<std::size_t>(length));
  }
  close(output_);
  output_ = -1;
  int status = 0;
  while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

}  // namespace brontelx::testing
