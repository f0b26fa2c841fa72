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

#ifdef _WIN32
#include <windows.h>

#include "DatabaseError.h"
#endif

namespace brontelx::db {
namespace {

using Clock = std::chrono::steady_clock;

// How soon the watchdog tries again to cut an attach that was between two waits.
constexpr std::chrono::milliseconds kRetry{100};

// The calls under way and the thread that ends those that pass their deadline. The thread starts
// with the first watched call. On Linux it stays and is joined when the module unloads. A Windows
// DLL's thread can be joined neither while the DLL unloads (its end waits for the loader lock the
// unloading thread holds) nor at process exit (it was killed, and the join never returns), so
// there the thread holds a reference to the module and ends with the last watched call, letting go
// of the module as it ends.
class Watchdog {
 public:
  static Watchdog& Instance() {
    static Watchdog watchdog;
    return watchdog;
  }

  std::uint64_t Add(Firebird::IAttachment* attachment, std::uint64_t thread, int seconds) {
    const std::lock_guard lock(mutex_);
    if (!running_) {
      // The watchdog takes none of the host's signals.
      const client::HostSignals hostSignals;
      Start();
      running_ = true;
    }
    const std::uint64_t id = ++lastId_;
    calls_.push_back({id, Clock::now() + std::chrono::seconds(seconds), attachment, thread, false});
    if (calls_.size() == 1) wake_.notify_one();
    return id;
  }

  void Remove(std::uint64_t id) {
    const std::lock_guard lock(mutex_);
    std::erase_if(calls_, [id](const Call& call) { return call.id == id; });
#ifdef _WIN32
    if (calls_.empty() && running_) {
      // A call added meanwhile starts a thread of the next generation.
      ++generation_;
      running_ = false;
      wake_.notify_all();
    }
#endif
  }

  bool Expired(std::uint64_t id) {
    const std::lock_guard lock(mutex_);
    const auto call = std::find_if(calls_.begin(), calls_.end(), [id](const Call& c) { return c.id == id; });
    return call != calls_.end() && call->expired;
  }

#ifndef _WIN32
  ~Watchdog() {
    {
      const std::lock_guard lock(mutex_);
      ++generation_;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
#endif

 private:
  struct Call {
    std::uint64_t id;
    Clock::time_point due;
    Firebird::IAttachment* attachment;  // null for an attach
    std::uint64_t thread;
    bool expired;
  };

#ifdef _WIN32
  struct ThreadStart {
    Watchdog* watchdog;
    std::uint64_t generation;
    HMODULE module;
  };

  static DWORD WINAPI ThreadMain(void* parameter) {
    const ThreadStart begun = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    begun.watchdog->Run(begun.generation);
    FreeLibraryAndExitThread(begun.module, 0);
  }

  void Start() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&Instance), &module)) {
      throw DatabaseError("Cannot start the response watchdog: the module is not found");
    }
    auto* start = new ThreadStart{this, generation_, module};
    const HANDLE thread = CreateThread(nullptr, 0, &Watchdog::ThreadMain, start, 0, nullptr);
    if (!thread) {
      delete start;
      FreeLibrary(module);
      throw DatabaseError("Cannot start the response watchdog");
    }
    CloseHandle(thread);
  }

#else
  void Start() { thread_ = std::thread([this, generation = generation_] { Run(generation); }); }
#endif

  // Runs until the generation it was started in ends.
  void Run(std::uint64_t generation) {
    std::unique_lock lock(mutex_);
    while (generation_ == generation) {
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
  std::uint64_t generation_ = 0;
  bool running_ = false;
#ifndef _WIN32
  std::thread thread_;
#endif
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
