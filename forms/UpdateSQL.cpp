#include "forms/UpdateSQL.h"

#include <algorithm>

#include "base/Ascii.h"

namespace brontelx {
namespace {

// The result columns of the dataset's statement, in result order, named as the server reports them.
std::vector<std::string> ColumnNames(db::Statement& ADataSet) {
  db::Statement columns(ADataSet.Database(), ADataSet.GetTransaction());
  columns.SetParamCheck(ADataSet.ParamCheck());
  columns.SetSQL(ADataSet.SQL());
  columns.Prepare();
  std::vector<std::string> names;
  for (unsigned i = 0; i < columns.FieldCount(); ++i) names.push_back(columns.FieldAt(i).Name());
  return names;
}

// Appends one line a column, as `line` writes it, each but the last followed by a comma.
template <typename Line>
void AddList(std::vector<std::string>& lines, const std::vector<std::string>& names, Line line) {
  for (std::size_t i = 0; i < names.size(); ++i) lines.push_back(line(names[i]) + (i + 1 < names.size() ? "," : ""));
}

}  // namespace

void PreparaUpdateSQL(db::Statement& ADataSet, const std::string& ATabella, const std::string& ATipo,
                      TUpdateSQL& AUpdateSQL) {
  const std::vector<std::string> names = ColumnNames(ADataSet);
  std::string tipo = ATipo;
  std::transform(tipo.begin(), tipo.end(), tipo.begin(), ascii::ToUpper);
  if (tipo == "UPDATE") {
    std::vector<std::string>& lines = AUpdateSQL.ModifySQL;
    lines = {"UPDATE \"" + ATabella + "\"", "SET"};
    AddList(lines, names, [](const std::string& name) { return name + "=:" + name; });
  } else if (tipo == "INSERT") {
    std::vector<std::string>& lines = AUpdateSQL.InsertSQL;
    lines = {"INSERT INTO \"" + ATabella + "\"", "("};
    AddList(lines, names, [](const std::string& name) { return name; });
    lines.insert(lines.end(), {")", "VALUES", "("});
    AddList(lines, names, [](const std::string& name) { return ":" + name; });
    lines.push_back(")");
  }
}

}  // namespace brontelx
