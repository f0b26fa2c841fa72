#include "database/ResponseDeadline.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

#include "base/BlockedSocket.h"
#include "database/FbClient.h"

namespace brontelx::db {
namespace {

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

namespace {

DeadlineTimer::Clock::time_point DueIn(int seconds) { return DeadlineTimer::Clock::now() + std::chrono::seconds(seconds); }

}  // namespace

// At the deadline the call is cut from the timer's thread; the call's end waits for that cut, so
// the attachment outlives it.
ResponseDeadline::Watch::Watch(Firebird::IAttachment* attachment)
    : seconds_(ResponseDeadline::Seconds()), timer_(DueIn(seconds_), [this, attachment] {
        // Marked before the cut: the call returns the moment its socket is shut.
        expired_.store(true);
        Firebird::CheckStatusWrapper status(Master()->getStatus());
        attachment->cancelOperation(&status, fb_cancel_abort);
        status.dispose();
        return true;
      }) {}

ResponseDeadline::Watch::Watch()
    : seconds_(ResponseDeadline::Seconds()), timer_(DueIn(seconds_), [this, thread = client::CurrentThread()] {
        // An attaching thread that is between two waits is tried again shortly.
        expired_.store(true);
        if (client::CutBlockedSocket(thread)) return true;
        expired_.store(false);
        return false;
      }) {}

bool ResponseDeadline::Watch::Expired() const { return expired_.load(); }

}  // namespace brontelx::db
