#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace brontelx::testing {

// A program running beside the test, its standard output and errors going to one pipe.
class ChildProcess {
 public:
  struct Result {
    int exitCode;  // -1 when a signal ended it
    std::string output;
  };

  // Starts `program` with `args`, in the test's environment with the "NAME=value" entries of
  // `environment` added or replacing.
  ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::vector<std::string>& environment = {});
  // Waits for the program when Wait() was not called.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads the output to its end and waits for the program to exit.
  Result Wait();

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

}  // namespace brontelx::testing
