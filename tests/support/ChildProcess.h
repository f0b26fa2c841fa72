#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace brontelx::testing {

// How a child process ended.
struct ChildStatus {
  bool exited = false;  // exited normally with `code`; otherwise ended by signal `code`
  int code = 0;
};

// A program run as a child process, its standard input, output and error connected to pipes of the
// test. Output is collected while the test waits. A child still running when the object is
// destroyed is killed.
class ChildProcess {
 public:
  // Runs `program` (a path, or a name looked up in PATH) with `arguments`, in this process's
  // environment with `environment` applied: "NAME=value" adds or replaces, "NAME" removes.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& environment = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t Pid() const { return pid_; }
  // Writes to the child's standard input; CloseInput ends it.
  void Write(const std::string& text);
  void CloseInput();
  void Signal(int signal);

  // Collects output until standard output (or error) holds `text`; false when the child ended or
  // `bound` passed first.
  bool WaitForOutput(const std::string& text, std::chrono::seconds bound);
  bool WaitForErrors(const std::string& text, std::chrono::seconds bound);
  // Collects output until the child ends and its pipes are drained; nullopt when it is still
  // running after `bound`.
  std::optional<ChildStatus> Wait(std::chrono::seconds bound);

  const std::string& Output() const { return output_; }
  const std::string& Errors() const { return errors_; }

 private:
  // Reads what is available, waiting at most `wait` for something to come.
  void Pump(std::chrono::milliseconds wait);
  bool WaitFor(const std::string& text, const std::string& stream, std::chrono::seconds bound);
  void Reap(bool block);

  pid_t pid_ = -1;
  int input_ = -1;
  int outputPipe_ = -1;
  int errorPipe_ = -1;
  std::string output_;
  std::string errors_;
  std::optional<ChildStatus> status_;
};

// Runs the program to its end with `input` on its standard input.
struct ChildResult {
  ChildStatus status;
  std::string output;
  std::string errors;
};
ChildResult RunChild(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& input = {}, const std::vector<std::string>& environment = {},
                     std::chrono::seconds bound = std::chrono::seconds(120));

}  // namespace brontelx::testing
