#pragma once

#include <windows.h>

namespace brontelx::platform::win32 {

// The backend's top-level windows of each thread. A thread that ends with some of them still open
// destroys them on its way out, while it can still receive their last messages: otherwise the
// system removes a dying thread's windows without a message (Windows and Wine alike), and their
// owners, each with its session, would never learn that their window is gone.
//
// The lists live under a POSIX thread key, whose destructor runs when a thread ends; the MinGW
// build serves the key from inside the module itself (no thread_local with a destructor, which
// would tie the module's unloading to the threads that used it). A module unloaded with windows
// open leaves their lists behind and runs nothing more for their threads.

// Records `window` as open on the calling thread; throws std::bad_alloc.
void AddThreadWindow(HWND window);
// Forgets `window` once it has been destroyed.
void RemoveThreadWindow(HWND window) noexcept;

}  // namespace brontelx::platform::win32
