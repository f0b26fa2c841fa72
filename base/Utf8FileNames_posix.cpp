#include "base/Utf8FileNames.h"

#include <locale.h>

namespace brontelx::db::client {

Utf8FileNames::Utf8FileNames() {
  // Made once and kept: a thread may still use it when the process ends.
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  if (utf8) previous_ = uselocale(utf8);
}

Utf8FileNames::~Utf8FileNames() {
  if (previous_) uselocale(static_cast<locale_t>(previous_));
}

}  // namespace brontelx::db::client
