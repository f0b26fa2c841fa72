#pragma once

namespace brontelx::host {

// Makes SIGINT, SIGTERM and SIGHUP end the stand-in host promptly and cleanly: every open window is
// closed as its close button would close it (it stores its placement and releases its session),
// then the event loop ends with 128 + the signal's number, as a shell reports a program that the
// signal ended. A second signal meanwhile ends the process at once by its default action. The
// handler only writes to a pipe; the work runs in the event loop. Call it once the QApplication
// exists and before the library is loaded.
void QuitOnSignal();

}  // namespace brontelx::host
