// Feeds arbitrary file bytes, section and key names to the dati.ini reader: it must never crash,
// always answer valid UTF-8 and keep at most 2047 characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ProfileReader.h"
#include "TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first two bytes choose the lengths of the section and key names taken from the end.
  if (input.size() < 2) return 0;
  const std::size_t sectionLength = static_cast<unsigned char>(input[0]) % 16;
  const std::size_t keyLength = static_cast<unsigned char>(input[1]) % 24;
  std::string_view rest = input.substr(2);
  const std::string_view section = rest.substr(0, std::min(sectionLength, rest.size()));
  rest.remove_prefix(section.size());
  const std::string_view key = rest.substr(0, std::min(keyLength, rest.size()));
  rest.remove_prefix(key.size());
  const std::string value = brontelx::ProfileStringFromBytes(rest, section, key, "default");
  if (!brontelx::text::IsValidUtf8(value) || brontelx::text::Utf8Length(value) > brontelx::kMaxProfileValueLength)
    std::abort();
  return 0;
}
