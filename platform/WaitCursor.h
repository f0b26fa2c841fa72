#pragma once

namespace brontelx::platform {

// Shows the wait cursor over the program's windows while the object lives. Implemented by the
// backend the program links.
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool shown_ = false;
};

}  // namespace brontelx::platform
