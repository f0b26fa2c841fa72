#include "host/DatabaseContext.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "database/DBConnectionInfo.h"
#include "database/DRKDBUtility.h"
#include "host/FailureHint.h"
#include "host/TerminalText.h"

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

// Why the dati.ini at `path` is not read ("none" when there is none), or empty text when it is.
std::string WhyIgnored(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (error.value() == ELOOP) return "ignored, a loop of links";
  if (!fs::exists(status)) return fs::is_symlink(fs::symlink_status(path, error)) ? "ignored, a broken link" : "none";
  if (fs::is_directory(status)) return "ignored, a folder";
  if (fs::is_fifo(status)) return "ignored, a FIFO";
  if (!fs::is_regular_file(status)) return "ignored, not a regular file";
  if (!std::ifstream(path)) return "ignored, unreadable";
  return {};
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
  if (const std::string ignoredBecause = WhyIgnored(ini); ignoredBecause.empty()) {
    lines += indent + "dati.ini: " + Escaped(ini) + ": " + Escaped(IniSettings(info)) + "\n";
  } else {
    lines += indent + "dati.ini: " + ignoredBecause + " (" + Escaped(ini) + ")\n";
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
