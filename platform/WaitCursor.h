#pragma once

#include "platform/Backend.h"

namespace brontelx::platform {

// Shows `backend`'s wait cursor over the program's windows while the object lives.
class WaitCursor {
 public:
  explicit WaitCursor(Backend& backend) : backend_(backend) { backend_.BeginWait(); }
  ~WaitCursor() { backend_.EndWait(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Backend& backend_;
};

}  // namespace brontelx::platform
