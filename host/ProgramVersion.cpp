#include "host/ProgramVersion.h"

namespace brontelx::cli {

const char* const kProgramVersion = BRONTELX_VERSION;

std::string ClientVersionText(unsigned version) {
  return std::to_string(version >> 8) + "." + std::to_string(version & 0xFF);
}

std::string VersionText(std::string_view program, std::string_view client) {
  return std::string(program) + " " + kProgramVersion + "\nFirebird client " + std::string(client) + "\n";
}

}  // namespace brontelx::cli
