#pragma once

#include <filesystem>
#include <string>

namespace brontelx::testing {

// A path this machine's settings name, for Windows code: an absolute path of the Linux machine
// Wine runs on, as Wine's drive Z: shows it; a Windows path as it is.
std::filesystem::path WindowsPath(const std::string& path);

// An environment setting as UTF-8 (read in UTF-16: the ANSI code page may not hold the paths it
// names); empty when unset.
std::string Setting(const wchar_t* name);

}  // namespace brontelx::testing
