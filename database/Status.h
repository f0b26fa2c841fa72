#pragma once

#include <firebird/Interface.h>

#include <optional>

#include "database/ResponseDeadline.h"

namespace brontelx::db {

class Wire;

// The status vector every interface call of the layer takes. The interfaces clear it at the start
// of each call and report through it at the end; this wrapper throws DatabaseError right there, so
// an error can never be overwritten by a later call, and a failed call's result is never used.
// `wire` (optional) is that of the attachment the calls work on: its encoding decodes names and
// values quoted in the server's messages; when it is a remote attachment, each call must end
// within the response deadline, and once one did not, every later call fails at once.
//
//   Status status(&wire);
//   IStatement* statement = attachment->prepare(&status, ...);   // throws on failure
class Status : public Firebird::BaseStatusWrapper<Status> {
 public:
  explicit Status(Wire* wire = nullptr);
  ~Status();
  Status(const Status&) = delete;
  Status& operator=(const Status&) = delete;

  // For the interface calls that take the status as a pointer.
  Status* Get() { return this; }

  // Called by every interface method before the call. Also clears errno: the engine reads it
  // without setting it in places, and an EINTR left there by a signal that interrupted the calling
  // thread earlier (say, in the host's event loop) makes it retry forever; closing an attachment
  // then never returns.
  static void clearException(Status* status);
  // Called by every interface method after the call returns.
  static void checkException(Status* status);

 private:
  Wire* wire_;
  Firebird::IAttachment* watched_;  // the remote attachment whose calls are watched, or null
  std::optional<ResponseDeadline::Watch> watch_;
};

}  // namespace brontelx::db
