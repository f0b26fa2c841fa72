#pragma once

#include <string>
#include <string_view>

namespace brontelx::cli {

// What to do about a failure whose cause the message shows (an unwritable lock folder, a file
// another program opened with a different Firebird configuration, a missing client or engine, a
// server that is down or refuses the login, a wrong path), as one sentence for a person who runs
// the site; empty when the message says nothing recognisable.
std::string FailureHint(std::string_view message);

}  // namespace brontelx::cli
