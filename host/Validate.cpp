#include "host/Validate.h"

#include <condition_variable>
#include <cstring>
#include <exception>
#include <fstream>
#include <istream>
#include <map>
#include <mutex>
#include <optional>
#include <ostream>
#include <thread>
#include <utility>
#include <vector>

#include "base/Utf8Path.h"
#include "host/Progress.h"
#include "host/ResultLine.h"
#include "host/SessionStart.h"
#include "session/BrontelX.Classes.h"
#include "validations/UnreachableDatabases.h"
#include "validations/VelValidazPers.h"

namespace brontelx::cli {
namespace {

// The beginning of the result text of a delivery-note database that could not be attached.
constexpr std::string_view kUnreachable = "ERR - Impossibile connettersi al database RUX";

// The data of a run, handed out one at a time: the arguments, or the lines of a stream.
class DataSource {
 public:
  DataSource(const ValidateCommand& command, std::istream& in) : data_(command.data) {
    if (!command.file.empty()) {
      file_.open(command.file, std::ios::binary);
      if (!file_) throw UsageError("cannot read --file " + PathToUtf8(command.file) + ": " + std::strerror(errno));
      lines_ = &file_;
    } else if (command.fromStandardInput) {
      lines_ = &in;
    }
    if (lines_) {
      next_ = NextLine();
      if (!next_) {
        throw UsageError(std::string(command.file.empty() ? "standard input" : "--file " + PathToUtf8(command.file)) +
                         " holds no datum: validate reads one datum per line");
      }
    }
  }

  std::optional<std::string> Next() {
    if (!lines_) {
      if (index_ == data_.size()) return std::nullopt;
      return data_[index_++];
    }
    // The first line was read to check that there is one; the others are read when asked for,
    // so that a person typing data sees each result before typing the next.
    if (std::optional<std::string> first = std::exchange(next_, std::nullopt)) return first;
    return NextLine();
  }

 private:
  // The next line without its line end (LF, or CR LF as Windows files have); nullopt at the end.
  // The first line loses a UTF-8 byte order mark, which Windows editors put before the text.
  std::optional<std::string> NextLine() {
    std::string line;
    if (!std::getline(*lines_, line)) return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (first_ && line.rfind("\xEF\xBB\xBF", 0) == 0) {
      line.erase(0, 3);
      // A file that holds nothing but the mark holds no datum.
      if (line.empty() && lines_->eof()) return std::nullopt;
    }
    first_ = false;
    return line;
  }

  const std::vector<std::string>& data_;
  std::size_t index_ = 0;
  std::ifstream file_;
  std::istream* lines_ = nullptr;
  std::optional<std::string> next_;
  bool first_ = true;
};

// What the sessions and the writer share. Sessions take the next datum and file its result under
// the datum's place; the writer writes results in that order.
class Batch {
 public:
  Batch(DataSource& source, std::size_t jobs) : source_(source), ahead_(16 * jobs) {}

  // On a session's thread: the next datum and its place, or nullopt when there is none left or
  // the batch failed. Waits while the writer is far behind, so the results held stay few.
  std::optional<std::pair<std::size_t, std::string>> Take() {
    // Reading may wait for input: it holds only its own lock, so results are written meanwhile.
    const std::lock_guard reading(reading_);
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return failure_ || handedOut_ < written_ + ahead_; });
      if (failure_ || ended_) return std::nullopt;
    }
    std::optional<std::string> datum = source_.Next();
    const std::lock_guard lock(mutex_);
    if (!datum) {
      ended_ = true;
      return std::nullopt;
    }
    return std::pair(handedOut_++, std::move(*datum));
  }

  void Done(std::size_t place, std::string datum, std::string result) {
    const std::lock_guard lock(mutex_);
    results_.emplace(place, std::pair(std::move(datum), std::move(result)));
    changed_.notify_all();
  }

  void Fail(std::exception_ptr failure) {
    const std::lock_guard lock(mutex_);
    if (!failure_) failure_ = failure;
    changed_.notify_all();
  }

  void SessionEnded() {
    const std::lock_guard lock(mutex_);
    ++endedSessions_;
    changed_.notify_all();
  }

  // On the writer's thread: the next result in order, or nullopt once every session has ended
  // and nothing is left to write in order.
  std::optional<std::pair<std::string, std::string>> NextResult(std::size_t sessions) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return results_.contains(written_) || endedSessions_ == sessions; });
    const auto found = results_.find(written_);
    if (found == results_.end()) return std::nullopt;
    std::pair<std::string, std::string> result = std::move(found->second);
    results_.erase(found);
    ++written_;
    changed_.notify_all();
    return result;
  }

  std::exception_ptr Failure() {
    const std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  DataSource& source_;
  const std::size_t ahead_;
  std::mutex reading_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t handedOut_ = 0;
  std::size_t written_ = 0;
  std::size_t endedSessions_ = 0;
  bool ended_ = false;
  std::map<std::size_t, std::pair<std::string, std::string>> results_;
  std::exception_ptr failure_;
};

void RunSession(const ValidateCommand& command, Batch& batch) {
  try {
    TSessione session;
    StartSession(session, command.user);
    const std::int32_t code = command.code.value_or(command.user);
    // A delivery-note database that could not be reached is not waited for again for every datum.
    UnreachableDatabases unreachable;
    while (std::optional<std::pair<std::size_t, std::string>> next = batch.Take()) {
      std::string result = EseguiValidazPers(session.IBDatabase(), command.function, code, next->second, &unreachable);
      batch.Done(next->first, std::move(next->second), std::move(result));
    }
  } catch (...) {
    batch.Fail(std::current_exception());
  }
  batch.SessionEnded();
}

}  // namespace

int RunValidate(const ValidateCommand& command, std::istream& in, std::ostream& out) {
  DataSource source(command, in);
  Batch batch(source, static_cast<std::size_t>(command.jobs));
  std::vector<std::jthread> sessions;
  for (int i = 0; i < command.jobs; ++i) sessions.emplace_back([&] { RunSession(command, batch); });

  Progress progress;
  bool allAccepted = true;
  bool unreachable = false;
  while (std::optional<std::pair<std::string, std::string>> next = batch.NextResult(sessions.size())) {
    const auto& [datum, result] = *next;
    allAccepted = allAccepted && result == "OK";
    unreachable = unreachable || result.starts_with(kUnreachable);
    out << ResultLine(command.format, datum, result) << std::endl;
    progress.Count(result == "OK");
  }
  sessions.clear();
  progress.Finish();
  if (const std::exception_ptr failure = batch.Failure()) std::rethrow_exception(failure);
  return unreachable ? 3 : allAccepted ? 0 : 1;
}

}  // namespace brontelx::cli
