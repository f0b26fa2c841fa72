#pragma once

#include <windows.h>

namespace brontelx::platform::win32 {

class Win32Window;

// The backend's top-level windows of each thread, and the delivery of their releases.
//
// A release is delivered from the thread's message loop by a message-only window of the thread's
// own, never from a procedure of the window it releases: the owner destroys the window object then.
// A request whose message is lost stays pending (ReleaseGate::Pending) and goes with the next one.
//
// A thread that ends with some windows still open destroys them on its way out, while it can still
// receive their last messages, and then delivers their releases: otherwise the system removes a
// dying thread's windows without a message (Windows and Wine alike), and their owners, each with
// its session, would never learn that their window is gone.
//
// A thread's list exists while it holds windows, under a POSIX thread key whose destructor runs
// when a thread ends; the MinGW build serves the key from inside the module itself (no thread_local
// with a destructor, which would tie the module's unloading to the threads that used it).

// Records `window` as open on the calling thread. Throws WindowError or std::bad_alloc.
void AddThreadWindow(Win32Window& window);
// Forgets `window`, whose object is being destroyed.
void RemoveThreadWindow(Win32Window& window) noexcept;
// Asks the calling thread's loop to deliver the pending releases of its windows.
void PostReleases() noexcept;

}  // namespace brontelx::platform::win32
