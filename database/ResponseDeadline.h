#pragma once

#include <firebird/Interface.h>

#include <atomic>
#include <string>
#include <string_view>

#include "base/DeadlineTimer.h"

// Every exchange with a remote server ends within a response deadline: a server that stops
// answering (a relay gone silent, a stopped server process, a network that drops packets) would
// otherwise block the calling thread, and with it the host's whole user interface, until TCP gives
// up. The client has no such limit of its own once the connection is set up, so a timer
// (DeadlineTimer) watches each call that is under way:
// - a call on an attachment is ended at the deadline by cancelOperation(fb_cancel_abort), which
//   shuts the attachment's socket: the call returns at once, the attachment is dead afterwards;
// - an attach has no attachment to cancel yet: the socket the attaching thread waits on is shut.
// Local (embedded) attachments are never watched.
namespace brontelx::db {

class ResponseDeadline {
 public:
  static constexpr int kDefaultSeconds = 30;
  // BRONTELX_RESPONSE_TIMEOUT when it holds whole seconds from 1 to 3600, else kDefaultSeconds.
  // Read at every call.
  static int Seconds();
  // The server a connection string names ("host", "host/port", the host of inet://host:port/...),
  // empty for a local file.
  static std::string ServerOf(std::string_view location);
  // The error of a call that met the deadline.
  static std::string Message(std::string_view server, int seconds);

  // Watches one call of the calling thread while it lives.
  class Watch {
   public:
    // A call on `attachment`.
    explicit Watch(Firebird::IAttachment* attachment);
    // An attach by the calling thread.
    Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    int Seconds() const { return seconds_; }
    // The deadline passed while the call was under way: the call was cut.
    bool Expired() const;

   private:
    std::atomic<bool> expired_{false};
    int seconds_;
    DeadlineTimer timer_;  // last: ended first, before what its function uses
  };
};

}  // namespace brontelx::db
