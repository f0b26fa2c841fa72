#pragma once

#include <cstdint>
#include <string>

// The client processes of the load benchmark. Each prints "ready" once its session has started and
// then works as told on standard input.
namespace brontelx::bench {

// A workstation running VelZidBol in a loop: through the library (a session for `user`, as a window
// starts it from user/user.fdb beside this program) or on the plain API (attaching the user
// directory `userDirectory` itself). Once ready, each line "go SECONDS" runs validations for that
// long (the validation under way when the time is up is finished and counted) and prints
//   done <validations> <errors> <CPU microseconds of this process in the round>
//        <microseconds from the start of the round to the end of its last validation>
//   latencies <microseconds>...
//   error <the first unexpected answer or exception>      (only when there was one)
//   end <round number, from 1>
// and any other line ends the session and the program.
int RunValidationClient(bool library, std::int32_t user, const std::string& userDirectory);

// A host saving the settings window's delivery-note location and placement `rounds` times, after
// a line on standard input: it
// opens the window through its entry point, types a location of its own, moves the window to a
// placement of its own and clicks "Chiudi", which saves both. Prints one line a save,
//   saved <start> <end> <location> <x> <y>          (times in ns since the epoch)
// and for every message an error box would have shown
//   errorbox <message>
int RunSettingsHost(std::int32_t user, int rounds, int argc, char** argv);

}  // namespace brontelx::bench
