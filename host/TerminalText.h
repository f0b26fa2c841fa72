#pragma once

#include <string>
#include <string_view>

namespace brontelx::cli {

// Text that comes from arguments, standard input or a database may hold control characters and
// escape sequences; written raw, they move the cursor, recolour or retitle the terminal, or hide
// what the text says. These functions make such text safe to print, escaping every control
// character (C0, DEL, C1) as \t, \n, \r, \xNN or \uNNNN, and every byte that is not part of valid
// UTF-8 as \xNN. Other characters, accented letters included, stay as they are.

// One line: line breaks are escaped too.
std::string Escaped(std::string_view text);

// A message that may have several lines (the session's messages end their first line with CR LF,
// the server's use LF): each CR LF or LF becomes a line break followed by `indent`; all other
// control characters are escaped.
std::string MessageText(std::string_view text, std::string_view indent = {});

// A result text of a validation, which quotes the datum it checked: the datum is escaped wherever
// it occurs (line breaks included, so a datum cannot fake a line), the rest is a message whose
// continuation lines begin with `indent`.
std::string ResultText(std::string_view result, std::string_view datum, std::string_view indent = {});

}  // namespace brontelx::cli
