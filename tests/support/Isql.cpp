#include "tests/support/Isql.h"

#include <stdio.h>

#include <fstream>
#include <stdexcept>

#include "tests/support/TempDir.h"

namespace brontelx::testing {
namespace {

// Quotes a word for /bin/sh.
std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

std::string RunIsql(const std::string& database, const std::string& sqlScript, const std::string& charset) {
  const TempDir dir;
  const std::filesystem::path scriptFile = dir.Path() / "script.sql";
  {
    std::ofstream out(scriptFile, std::ios::binary);
    out << sqlScript;
    if (!out.flush()) throw std::runtime_error("cannot write " + scriptFile.string());
  }
  const std::string command = "isql-fb -q -user SYSDBA -password quillbank -ch " + ShellQuoted(charset) +
                              " -i " + ShellQuoted(scriptFile.string()) + " " + ShellQuoted(database) +
                              " </dev/null 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run isql-fb");
  std::string output;
  char buffer[4096];
  std::size_t length;
  while ((length = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, length);
  pclose(pipe);
  return output;
}

}  // namespace brontelx::testing
