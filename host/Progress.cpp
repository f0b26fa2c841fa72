#include "host/Progress.h"

#include <unistd.h>

namespace brontelx::cli {
namespace {

using namespace std::chrono_literals;

// A batch shorter than this shows no progress line; once shown, it is rewritten at most this often.
constexpr auto kQuiet = 2s;
constexpr auto kEvery = 250ms;

double Seconds(std::chrono::steady_clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

}  // namespace

Progress::Progress(std::FILE* terminal) : terminal_(isatty(fileno(terminal)) ? terminal : nullptr) {}

void Progress::Count(bool accepted) {
  ++(accepted ? accepted_ : refused_);
  if (!terminal_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - start_ < kQuiet || now - shown_ < kEvery) return;
  shown_ = now;
  Show("");
}

void Progress::Finish() {
  if (!terminal_ || accepted_ + refused_ < 2) return;
  Show("\n");
}

void Progress::Show(const char* end) {
  const double seconds = Seconds(std::chrono::steady_clock::now() - start_);
  const std::size_t done = accepted_ + refused_;
  // \r and "erase to the end of the line" rewrite the line in place.
  std::fprintf(terminal_, "\r\x1b[K%zu data: %zu OK, %zu ERR, %.1f s, %.0f/s%s", done, accepted_, refused_, seconds,
               seconds > 0 ? done / seconds : 0.0, end);
  std::fflush(terminal_);
}

}  // namespace brontelx::cli
