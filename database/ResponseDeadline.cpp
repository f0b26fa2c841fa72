#include "ResponseDeadline.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "BlockedSocket.h"
#include "FbClient.h"
#include "HostSignals.h"

namespace brontelx::db {
namespace {

using Clock = std::chrono::steady_clock;

// How soon the watchdog tries again to cut an attach that was between two waits.
constexpr std::chrono::milliseconds kRetry{100};

// The calls under way and the thread that ends those that pass their deadline. The thread starts
// with the first watched call and is joined when the module unloads.
class Watchdog {
 public:
  static Watchdog& Instance() {
    static Watchdog watchdog;
    return watchdog;
  }

  std::uint64_t Add(Firebird::IAttachment* attachment, std::uint64_t thread, int seconds) {
    const std::lock_guard lock(mutex_);
    if (!thread_.joinable()) {
      // The watchdog takes none of the host's signals.
      const client::HostSignals hostSignals;
      thread_ = std::thread([this] { Run(); });
    }
    const std::uint64_t id = ++lastId_;
    calls_.push_back({id, Clock::now() + std::chrono::seconds(seconds), attachment, thread, false});
    if (calls_.size() == 1) wake_.notify_one();
    return id;
  }

  void Remove(std::uint64_t id) {
    const std::lock_guard lock(mutex_);
    std::erase_if(calls_, [id](const Call& call) { return call.id == id; });
  }

  bool Expired(std::uint64_t id) {
    const std::lock_guard lock(mutex_);
    const auto call = std::find_if(calls_.begin(), calls_.end(), [id](const Call& c) { return c.id == id; });
    return call != calls_.end() && call->expired;
  }

  ~Watchdog() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

 private:
  struct Call {
    std::uint64_t id;
    Clock::time_point due;
    Firebird::IAttachment* attachment;  // null for an attach
    std::uint64_t thread;
    bool expired;
  };

  void Run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
      const auto next = std::min_element(calls_.begin(), calls_.end(),
                                         [](const Call& a, const Call& b) { return a.due < b.due; });
      if (next == calls_.end()) {
        wake_.wait(lock);
        continue;
      }
      if (next->due > Clock::now()) {
        wake_.wait_until(lock, next->due);
        continue;
      }
      // Under the lock: the calling thread cannot finish the call and let go of the attachment
      // meanwhile. Both ways of ending return at once.
      Cut(*next);
    }
  }

  static void Cut(Call& call) {
    if (call.attachment) {
      Firebird::CheckStatusWrapper status(Master()->getStatus());
      call.attachment->cancelOperation(&status, fb_cancel_abort);
      status.dispose();
      call.expired = true;
      call.due = Clock::time_point::max();
    } else if (client::CutBlockedSocket(call.thread)) {
      call.expired = true;
      call.due = Clock::time_point::max();
    } else {
      call.due = Clock::now() + kRetry;
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<Call> calls_;
  std::uint64_t lastId_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
           return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
         });
}

}  // namespace

int ResponseDeadline::Seconds() {
  const char* text = std::getenv("BRONTELX_RESPONSE_TIMEOUT");
  if (!text) return kDefaultSeconds;
  const char* end = text + std::strlen(text);
  int seconds = 0;
  const auto [stop, error] = std::from_chars(text, end, seconds);
  if (error != std::errc() || stop != end || seconds < 1 || seconds > 3600) return kDefaultSeconds;
  return seconds;
}

std::string ResponseDeadline::ServerOf(std::string_view location) {
  for (const std::string_view scheme : {"inet://", "inet4://", "inet6://", "wnet://"}) {
    if (StartsWithIgnoringCase(location, scheme)) {
      const std::string_view rest = location.substr(scheme.size());
      return std::string(rest.substr(0, rest.find('/')));
    }
  }
  if (StartsWithIgnoringCase(location, "xnet://")) return {};
  if (location.starts_with("\\\\")) {
    const std::string_view rest = location.substr(2);
    return std::string(rest.substr(0, rest.find('\\')));
  }
  // host:path and host/port:path; an IPv6 address is written in brackets. One letter before the
  // colon is a drive.
  const std::size_t bracket = location.starts_with('[') ? location.find(']') : 0;
  if (bracket == std::string_view::npos) return {};
  const std::size_t colon = location.find(':', bracket);
  if (colon == std::string_view::npos || colon < 2) return {};
  const std::string_view host = location.substr(0, colon);
  // A path whose folder holds a colon ("/dati/a:b.fdb", "C:\\dati") is a local file; a host
  // carries at most one slash, before its port.
  if (host.front() == '/' || host.find('\\') != std::string_view::npos ||
      std::count(host.begin(), host.end(), '/') > 1)
    return {};
  return std::string(host);
}

std::string ResponseDeadline::Message(std::string_view server, int seconds) {
  return "The database server " + std::string(server) + " did not answer within " + std::to_string(seconds) +
         " seconds (BRONTELX_RESPONSE_TIMEOUT); its connection was closed";
}

ResponseDeadline::Watch::Watch(Firebird::IAttachment* attachment)
    : id_(0), seconds_(ResponseDeadline::Seconds()) {
  id_ = Watchdog::Instance().Add(attachment, 0, seconds_);
}

ResponseDeadline::Watch::Watch() : id_(0), seconds_(ResponseDeadline::Seconds()) {
  id_ = Watchdog::Instance().Add(nullptr, client::CurrentThread(), seconds_);
}

ResponseDeadline::Watch::~Watch() { Watchdog::Instance().Remove(id_); }

bool ResponseDeadline::Watch::Expired() const { return Watchdog::Instance().Expired(id_); }

}  // namespace brontelx::db
