// Builds connection descriptions from arbitrary texts: GetIBFileName must give a string or the
// incomplete-settings error, never crash.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "DBConnectionInfo.h"
#include "Error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Five fields separated by NUL bytes.
  std::string fields[5];
  std::size_t field = 0;
  for (std::size_t i = 0; i < size && field < 5; ++i) {
    if (data[i] == 0) {
      ++field;
    } else {
      fields[field] += static_cast<char>(data[i]);
    }
  }
  brontelx::TDBConnectionInfo info;
  info.FileName = fields[0];
  info.NomeServer = fields[1];
  info.LetteraDiscoServer = fields[2];
  info.PercorsoDatabase = fields[3];
  info.Alias = fields[4];
  try {
    info.GetIBFileName();
  } catch (const brontelx::Error&) {
    // The incomplete-settings error is an answer, not a fault.
  }
  return 0;
}
