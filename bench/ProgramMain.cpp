#include "bench/ProgramMain.h"

#include <exception>
#include <iostream>

#include "database/ClientShutdown.h"

namespace brontelx::bench {

int RunProgram(const char* name, int (*main)(int argc, char** argv), int argc, char** argv) {
  int status = 1;
  try {
    status = main(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << name << ": " << e.what() << "\n";
  }
  db::ShutdownClient();
  return status;
}

}  // namespace brontelx::bench
