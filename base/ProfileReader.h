#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

// Reads settings from `.ini` files with the rules of the Windows profile functions, so that a file
// written for the product's Windows programs gives the same values here:
// - `[section]` headers and `key=value` lines; section and key names match ignoring letter case
//   (ASCII and the Latin letters of U+00C0..U+017F); blanks (spaces, tabs) around names and values
//   are dropped; a key name may contain blanks ("Nome Server");
// - lines starting with ';', lines without '=' and lines before the first header are ignored;
// - only the first section of a name is searched, and the first occurrence of a key in it wins;
// - one pair of matching double or single quotes around a value is removed;
// - a value ends at a NUL character and keeps at most kMaxProfileValueLength characters;
// - lines end with CR LF, LF or CR.
// File bytes are UTF-8 (with or without BOM), UTF-16LE with BOM, or otherwise Windows-1252; results
// are UTF-8. The file is only read.
namespace brontelx {

// Characters of a value that fit the 2048-character buffer the Windows programs read into.
inline constexpr std::size_t kMaxProfileValueLength = 2047;

// Bytes of a file that are read: a settings file holds a few lines, and one grown by a fault (or
// replaced by something else) must not cost its whole size in memory and time at every lookup.
// Lines past this are not seen.
inline constexpr std::size_t kMaxProfileFileBytes = 16 << 20;

// The value of `key` in `[section]` of `file`. A missing or unreadable file, a folder, a missing
// section or key give `defaultValue`, less trailing blanks and cut to kMaxProfileValueLength
// characters, as Windows returns it. Any file content is accepted; only its first
// kMaxProfileFileBytes are read.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section, std::string_view key,
                              std::string_view defaultValue = {});

// The same lookup on the bytes of a file already in memory.
std::string ProfileStringFromBytes(std::string_view fileBytes, std::string_view section, std::string_view key,
                                   std::string_view defaultValue = {});

}  // namespace brontelx
