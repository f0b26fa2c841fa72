#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

extern char** environ;

namespace brontelx::testing {
namespace {

void Pipe(int fds[2]) {
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::system_error(errno, std::generic_category(), "pipe2");
}

// This process's environment with `changes` applied: "NAME=value" adds or replaces, "NAME" removes.
std::vector<std::string> Environment(const std::vector<std::string>& changes) {
  const auto changedName = [](const std::string& change) {
    return change.substr(0, change.find('=')) + "=";
  };
  std::vector<std::string> result;
  for (char** entry = environ; *entry; ++entry) {
    const std::string text = *entry;
    bool changed = false;
    for (const std::string& change : changes) changed = changed || text.rfind(changedName(change), 0) == 0;
    if (!changed) result.push_back(text);
  }
  for (const std::string& change : changes) {
    if (change.find('=') != std::string::npos) result.push_back(change);
  }
  return result;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment) {
  // A child that ends before reading its input must fail the write, not kill the test.
  signal(SIGPIPE, SIG_IGN);
  int in[2], out[2], err[2];
  Pipe(in);
  Pipe(out);
  Pipe(err);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  // The child starts with no signal blocked, whatever the test's threads block.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);

  std::vector<std::string> argumentTexts{program};
  argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
  std::vector<std::string> environmentTexts = Environment(environment);
  const std::vector<char*> argv = Pointers(argumentTexts);
  const std::vector<char*> envp = Pointers(environmentTexts);
  const int error = posix_spawnp(&pid_, program.c_str(), &actions, &attributes, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  input_ = in[1];
  outputPipe_ = out[0];
  errorPipe_ = err[0];
  if (error != 0) {
    CloseFd(input_);
    CloseFd(outputPipe_);
    CloseFd(errorPipe_);
    throw std::system_error(error, std::generic_category(), "cannot run " + program);
  }
}

ChildProcess::~ChildProcess() {
  if (!status_) {
    kill(pid_, SIGKILL);
    Reap(true);
  }
  CloseFd(input_);
  CloseFd(outputPipe_);
  CloseFd(errorPipe_);
}

void ChildProcess::Write(const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = write(input_, text.data() + done, text.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) throw std::system_error(errno, std::generic_category(), "writing to the child");
    done += static_cast<std::size_t>(written);
  }
}

void ChildProcess::CloseInput() { CloseFd(input_); }

void ChildProcess::Signal(int signal) {
  if (!status_) kill(pid_, signal);
}

void ChildProcess::Reap(bool block) {
  if (status_) return;
  int raw = 0;
  pid_t result;
  do {
    result = waitpid(pid_, &raw, block ? 0 : WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result != pid_) return;
  status_ = WIFEXITED(raw) ? ChildStatus{true, WEXITSTATUS(raw)} : ChildStatus{false, WTERMSIG(raw)};
}

void ChildProcess::Pump(std::chrono::milliseconds wait) {
  pollfd fds[2] = {{outputPipe_, POLLIN, 0}, {errorPipe_, POLLIN, 0}};
  if (outputPipe_ < 0 && errorPipe_ < 0) return;
  if (poll(fds, 2, static_cast<int>(wait.count())) <= 0) return;
  const auto drain = [](int& fd, short events, std::string& into) {
    if (fd < 0 || !(events & (POLLIN | POLLHUP | POLLERR))) return;
    char buffer[4096];
    const ssize_t length = read(fd, buffer, sizeof buffer);
    if (length > 0) {
      into.append(buffer, static_cast<std::size_t>(length));
    } else if (length == 0 || errno != EINTR) {
      CloseFd(fd);
    }
  };
  drain(outputPipe_, fds[0].revents, output_);
  drain(errorPipe_, fds[1].revents, errors_);
}

bool ChildProcess::WaitFor(const std::string& text, const std::string& stream, std::chrono::seconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (stream.find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline || (outputPipe_ < 0 && errorPipe_ < 0)) return false;
    Pump(std::chrono::milliseconds(100));
  }
  return true;
}

bool ChildProcess::WaitForOutput(const std::string& text, std::chrono::seconds bound) {
  return WaitFor(text, output_, bound);
}

bool ChildProcess::WaitForErrors(const std::string& text, std::chrono::seconds bound) {
  return WaitFor(text, errors_, bound);
}

std::optional<ChildStatus> ChildProcess::Wait(std::chrono::seconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!status_) {
    if (std::chrono::steady_clock::now() > deadline) return std::nullopt;
    Pump(std::chrono::milliseconds(100));
    Reap(false);
  }
  // What the child wrote before it ended; a few seconds at most, should a grandchild hold a pipe.
  const auto drained = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while ((outputPipe_ >= 0 || errorPipe_ >= 0) && std::chrono::steady_clock::now() < drained) {
    Pump(std::chrono::milliseconds(100));
  }
  return status_;
}

ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                     const std::vector<std::string>& environment, std::chrono::seconds bound) {
  ChildProcess child(program, arguments, environment);
  child.Write(input);
  child.CloseInput();
  const std::optional<ChildStatus> status = child.Wait(bound);
  if (!status) throw std::runtime_error(program + " did not end within " + std::to_string(bound.count()) + " s");
  return {*status, child.Output(), child.Errors()};
}

}  // namespace brontelx::testing
