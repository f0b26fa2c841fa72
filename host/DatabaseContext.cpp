#include "DatabaseContext.h"

#include <filesystem>
#include <system_error>

#include "DBConnectionInfo.h"
#include "DRKDBUtility.h"
#include "FailureHint.h"
#include "TerminalText.h"

namespace brontelx::cli {
namespace {

std::string IniSettings(const TDBConnectionInfo& info) {
  std::string settings;
  const auto add = [&](const char* key, const std::string& value) {
    if (value.empty()) return;
    settings += (settings.empty() ? "" : ", ") + std::string(key) + "=" + value;
  };
  add("Nome Server", info.NomeServer);
  add("Lettera Disco Server", info.LetteraDiscoServer);
  add("PercorsoDatabase", info.PercorsoDatabase);
  add("Alias", info.Alias);
  return settings.empty() ? "no settings in [CONFIG]" : settings;
}

std::string Context(const std::string& what, const std::string& fileName, const std::string& failure) {
  std::string text = what + "\n  " + MessageText(failure, "  ") + "\n  database: " + Escaped(fileName) + "\n" +
                     ReachLines(fileName, "  ");
  if (const std::string hint = FailureHint(failure); !hint.empty()) text += "  hint: " + hint + "\n";
  text.pop_back();
  return text;
}

}  // namespace

std::string ReachLines(const std::string& fileName, const std::string& indent) {
  const std::string ini = DatiIniPath(fileName);
  const TDBConnectionInfo info = DescribeDatabase(fileName);
  std::string lines;
  std::error_code ignored;
  if (std::filesystem::is_regular_file(ini, ignored)) {
    lines += indent + "dati.ini: " + Escaped(ini) + ": " + Escaped(IniSettings(info)) + "\n";
  } else {
    lines += indent + "dati.ini: none (" + Escaped(ini) + ")\n";
  }
  try {
    lines += indent + "connection string: " + Escaped(info.GetIBFileName()) + "\n";
  } catch (const Error& e) {
    lines += indent + "connection string: cannot be built: " + MessageText(e.what(), indent + "  ") + "\n";
  }
  return lines;
}

UnreachableDatabase::UnreachableDatabase(const std::string& what, const std::string& fileName,
                                         const std::string& failure)
    : Error(Context(what, fileName, failure)) {}

}  // namespace brontelx::cli
