#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>

namespace brontelx::cli {

// The progress of a batch on standard error, for a person at a terminal: once the batch has run
// for a few seconds, one line rewritten in place (data done, OK and ERR counts, rate), and at the
// end a summary with the time taken. Nothing when standard error is not a terminal, so scripts
// and their logs see only the results and real errors.
class Progress {
 public:
  explicit Progress(std::FILE* terminal = stderr);
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void Count(bool accepted);
  // Writes the summary (when on a terminal and more than one datum was done).
  void Finish();

 private:
  void Show(const char* end);

  std::FILE* terminal_;  // null when not a terminal
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point shown_ = start_;
  std::size_t accepted_ = 0;
  std::size_t refused_ = 0;
};

}  // namespace brontelx::cli
