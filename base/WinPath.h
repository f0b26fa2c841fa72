#pragma once

#include <string>
#include <string_view>

// Windows path rules on UTF-8 text: backslash as folder delimiter, colon after a drive letter,
// \\host\share names. Connection strings address Windows servers, so these rules apply whatever
// the platform the library runs on. Every delimiter is ASCII, so the work is byte-wise.
namespace brontelx::winpath {

// At least three characters, two leading backslashes and a third character allowed in paths
// (not a control character, '"', '<', '>' or '|'). A third '?' counts only as the start of \\?\UNC\.
bool IsUncText(std::string_view path);

// "C:" for a drive path, "\\host\share" for a UNC text (the whole text less a final backslash
// when no backslash follows the share), otherwise empty.
std::string DrivePart(std::string_view path);

// Up to and including the last backslash or colon; empty when there is neither.
std::string FolderPart(std::string_view path);

// After the last backslash or colon; the whole text when there is neither.
std::string FileNamePart(std::string_view path);

// The text ending with one backslash; an empty text becomes "\".
std::string WithDelimiter(std::string_view path);

// `path` relative to the drive of `base`: when both drive parts match ignoring ASCII letter case,
// `path` without its drive part and one leading backslash; otherwise `path` unchanged.
std::string Rel(std::string_view base, std::string_view path);

}  // namespace brontelx::winpath
