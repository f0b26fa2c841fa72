// brontelx: the command-line tool of support staff and scripts. The arguments arrive as the
// system's bytes, UTF-8 on the systems the tool runs on.
#include <string>
#include <vector>

#include "host/Interrupt.h"
#include "host/Program.h"

int main(int argc, char** argv) {
  brontelx::cli::EndOnSignal();
  return brontelx::cli::RunProgram(std::vector<std::string>(argv, argv + argc));
}
