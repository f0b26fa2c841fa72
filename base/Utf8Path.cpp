#include "base/Utf8Path.h"

#include "base/TextCodec.h"

namespace brontelx {

namespace fs = std::filesystem;

namespace {

// Native paths are narrow (POSIX) or UTF-16 (Windows); the size of their character tells them
// apart at compile time.
template <typename Char>
std::string NativeToUtf8(std::basic_string_view<Char> native) {
  if constexpr (sizeof(Char) == 1) {
    return std::string(native);
  } else {
    // UTF-16 in the byte order of the machine, little-endian wherever Windows runs.
    return text::Utf16LeToUtf8(std::string_view(reinterpret_cast<const char*>(native.data()), native.size() * 2));
  }
}

}  // namespace

fs::path PathFromUtf8(std::string_view utf8) {
  if constexpr (sizeof(fs::path::value_type) == 1) {
    return fs::path(utf8);
  } else {
    // char8_t text is read as UTF-8, and only well-formed UTF-8 converts.
    const std::string valid = text::SanitizeUtf8(utf8);
    return fs::path(std::u8string_view(reinterpret_cast<const char8_t*>(valid.data()), valid.size()));
  }
}

std::string PathToUtf8(const fs::path& path) {
  return NativeToUtf8(std::basic_string_view<fs::path::value_type>(path.native()));
}

}  // namespace brontelx
