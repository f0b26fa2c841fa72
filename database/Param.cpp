#include "database/Param.h"

namespace brontelx::db {

void Param::SetString(std::string_view value) {
  kind_ = Kind::Text;
  text_.assign(value);
}

void Param::SetInt(std::int64_t value) {
  kind_ = Kind::Integer;
  integer_ = value;
}

void Param::SetNull() {
  kind_ = Kind::Null;
  text_.clear();
}

}  // namespace brontelx::db
