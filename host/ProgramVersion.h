#pragma once

#include <string>
#include <string_view>

namespace brontelx::cli {

// The version of the project's programs and library, which are built and shipped together.
extern const char* const kProgramVersion;

// A Firebird client version as IUtil::getClientVersion gives it (major << 8 | minor), as text.
std::string ClientVersionText(unsigned version);

// What "--version" prints: "<program> <version>" and the Firebird client's version (or why it
// could not be loaded), one per line.
std::string VersionText(std::string_view program, std::string_view client);

}  // namespace brontelx::cli
