#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// File names are UTF-8 text inside the library. std::filesystem::path reads a narrow string in the
// system's narrow encoding, which on Windows is the ANSI code page and not UTF-8, so every path
// made from text or turned into text goes through these two: the same text then names the same
// file on every platform ("C:\Programmi città\dati.ini" included).
namespace brontelx {

// POSIX: the bytes as they are. Windows: UTF-16 from UTF-8; a malformed sequence becomes U+FFFD
// instead of failing.
std::filesystem::path PathFromUtf8(std::string_view utf8);

// POSIX: the bytes as they are. Windows: UTF-8 from UTF-16; an unpaired surrogate becomes U+FFFD.
std::string PathToUtf8(const std::filesystem::path& path);

}  // namespace brontelx
