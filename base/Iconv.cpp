#include "base/Iconv.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "base/TextCodec.h"

namespace brontelx::text {
namespace {

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const std::string& to, const std::string& from) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  return IconvHandle(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts all of `input`; on a sequence the target cannot take, `onError` decides: append a
// replacement and skip one input byte (true), or give up (false).
template <typename OnError>
bool RunIconv(iconv_t cd, std::string_view input, std::string& out, OnError onError) {
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr);
    if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
      if (!onError(out)) return false;
      ++in;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.append(buffer, outPtr);
  return true;
}

}  // namespace

bool IconvKnows(const std::string& encoding) { return OpenIconv("UTF-8", encoding) != nullptr; }

std::string IconvToUtf8(const std::string& encoding, std::string_view bytes) {
  std::string out;
  const IconvHandle cd = OpenIconv("UTF-8", encoding);
  if (!cd) return SanitizeUtf8(bytes);
  RunIconv(static_cast<iconv_t>(cd.get()), bytes, out, [](std::string& o) {
    o += kReplacementCharacter;
    return true;
  });
  return out;
}

std::optional<std::string> Utf8ToIconv(const std::string& encoding, std::string_view utf8) {
  std::string out;
  const IconvHandle cd = OpenIconv(encoding, "UTF-8");
  if (!cd || !RunIconv(static_cast<iconv_t>(cd.get()), utf8, out, [](std::string&) { return false; }))
    return std::nullopt;
  return out;
}

}  // namespace brontelx::text
