#pragma once

#include <memory>
#include <string>

#include "platform/Window.h"

namespace brontelx::platform {

// A toolkit as the windowing layer uses it: it builds the windows and shows the standard error box
// and the wait cursor. A program installs the backend of the toolkit it links (UseBackend) before
// it builds a window; each window keeps the backend that built it.
class Backend {
 public:
  // Builds the window that `description` describes, hidden, with `events` receiving its events.
  // Throws WindowError when the toolkit cannot build windows in this process or on this thread.
  virtual std::unique_ptr<Window> BuildWindow(const WindowDescription& description, WindowEvents& events) = 0;
  // The standard error message box: shows `message` and returns once the user has closed it,
  // running an event loop of its own meanwhile.
  virtual void ShowError(const std::string& message) = 0;
  // The wait cursor over the program's windows, from BeginWait to the matching EndWait.
  virtual void BeginWait() = 0;
  virtual void EndWait() noexcept = 0;

 protected:
  // Not destroyed through this interface; the backends hold nothing that needs destroying, so that
  // one installed for the process serves its windows until the very end.
  ~Backend() = default;
};

// The backend installed for this process; throws WindowError when none is.
Backend& CurrentBackend();
// Installs `backend` (null: none) for the windows built from now on and returns the one installed
// before.
Backend* UseBackend(Backend* backend) noexcept;

}  // namespace brontelx::platform
