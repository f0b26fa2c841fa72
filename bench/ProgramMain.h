#pragma once

namespace brontelx::bench {

// Runs `main` of the program `name`: an exception ends it with its message on standard error and
// status 1. The Firebird client is shut down before the program exits, whatever the outcome.
int RunProgram(const char* name, int (*main)(int argc, char** argv), int argc, char** argv);

}  // namespace brontelx::bench
