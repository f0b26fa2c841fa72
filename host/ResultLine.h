#pragma once

#include <string>

#include "host/CommandLine.h"

namespace brontelx::cli {

// One result of validate as `format` writes it, without the final line break. Plain: the result
// text, its further lines indented, control characters escaped. Tsv: the datum, a tab and the
// result, with backslash, tab, LF and CR written \\ \t \n \r, so each record is one line that
// splits at its one tab. Json: {"datum":...,"result":...} on one line, bytes that are not UTF-8
// each written as U+FFFD.
std::string ResultLine(ResultFormat format, const std::string& datum, const std::string& result);

}  // namespace brontelx::cli
