#include "base/Utf8FileNames.h"

namespace brontelx::db::client {

// The Windows client reads UTF-8 file names with the Windows API: no locale to switch.
Utf8FileNames::Utf8FileNames() = default;
Utf8FileNames::~Utf8FileNames() = default;

}  // namespace brontelx::db::client
