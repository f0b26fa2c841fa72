#include "forms/RowValues.h"

#include "base/Ascii.h"

namespace brontelx {

RowValues::RowValues(const db::Statement& query, bool fromRow) {
  for (unsigned i = 0; i < query.FieldCount(); ++i) {
    const db::Field field = query.FieldAt(i);
    std::optional<std::string> value;
    if (fromRow && !field.IsNull()) value = field.AsString();
    values_.emplace_back(field.Name(), std::move(value));
  }
}

void RowValues::Set(std::string_view column, std::int32_t value) {
  for (auto& [name, text] : values_) {
    if (ascii::EqualsIgnoringCase(name, column)) text = std::to_string(value);
  }
}

void RowValues::Bind(db::Statement& statement) const {
  for (const auto& [name, text] : values_) {
    db::Param& param = statement.ParamByName(name);
    if (text) {
      param.SetString(*text);
    } else {
      param.SetNull();
    }
  }
}

}  // namespace brontelx
