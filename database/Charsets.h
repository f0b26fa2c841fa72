#pragma once

#include <optional>
#include <string>
#include <string_view>

// Firebird character-set identifiers and the byte encodings the layer converts itself.
namespace brontelx::db::charsets {

constexpr unsigned kNone = 0;
constexpr unsigned kOctets = 1;
constexpr unsigned kUnicodeFss = 3;
constexpr unsigned kUtf8 = 4;

// Largest number of bytes one character takes in a character set.
unsigned MaxBytesPerChar(unsigned charsetId);

// True for sets whose values the server transliterates to UTF-8 for us: everything but NONE and
// OCTETS, which carry bytes without a declared meaning.
inline bool ServerTransliterates(unsigned charsetId) { return charsetId != kNone && charsetId != kOctets; }

// How bytes typed NONE are read and written: in the database's default character set, and in
// Windows-1252 (what the product's Windows programs store) when that is NONE too.
class ByteEncoding {
 public:
  // The encoding of a Firebird character set name (RDB$CHARACTER_SET_NAME, padding allowed).
  // Raises DatabaseError for a set the layer cannot convert.
  static ByteEncoding ForCharset(std::string_view firebirdName);

  std::string Decode(std::string_view bytes) const;
  // Empty when the text holds a character the encoding cannot represent.
  std::optional<std::string> Encode(std::string_view utf8) const;

  // The conversions built in; the other sets go through the system's (SystemCodec).
  struct Codec {
    std::string (*decode)(std::string_view bytes);
    std::optional<std::string> (*encode)(std::string_view utf8);
  };

 private:
  explicit ByteEncoding(const Codec* codec, std::string systemCharset = {})
      : codec_(codec), systemCharset_(std::move(systemCharset)) {}

  const Codec* codec_;
  // The Firebird name of a set the system converts, when codec_ is null.
  std::string systemCharset_;
};

// The server's own wording for a character that a character set cannot hold.
extern const char* const kTransliterationMessage;

}  // namespace brontelx::db::charsets
