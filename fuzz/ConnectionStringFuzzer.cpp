// Builds connection descriptions from arbitrary texts (five fields separated by NUL bytes: file
// name, server, disk letter, database path, alias) and checks the connection string:
// - without a server, disk letter and alias play no part, and the path form (the database path, or
//   the file name when there is none) comes back unchanged unless it is a UNC text, which becomes
//   a named-pipe form \\host\share... with the same file name and a share naming a drive (a ':');
// - with a server and an alias: exactly server:alias;
// - with a server and no alias: the incomplete-settings error exactly when neither disk letter nor
//   database path is given, otherwise a named-pipe form \\server\... ;
// - a named-pipe form \\host\X:\folder\...\file (a share holding a colon, at least one folder,
//   no other colon) passes through the path form unchanged, whether it is given or was built;
// - drive letters compare ignoring case: writing the disk letter and the drive letters of the paths
//   in the other case changes the letter case of the connection string only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Ascii.h"
#include "base/Error.h"
#include "base/WinPath.h"
#include "database/DBConnectionInfo.h"
#include "fuzz/Check.h"

namespace {

using brontelx::TDBConnectionInfo;
using brontelx::fuzz::Check;
namespace winpath = brontelx::winpath;

std::string PathForm(const std::string& path) {
  TDBConnectionInfo info;
  info.FileName = path;
  return info.GetIBFileName();
}

// The share of a UNC text: what follows \\host\ up to the next backslash.
std::string_view Share(std::string_view unc) {
  const std::size_t hostEnd = unc.find('\\', 2);
  if (hostEnd == std::string_view::npos) return {};
  const std::string_view rest = unc.substr(hostEnd + 1);
  return rest.substr(0, rest.find('\\'));
}

// \\host\X:\folder\...\file: the share holds a colon, at least one folder follows, no other colon.
// (A file right below the share gets a doubled backslash, as the rules build it.)
bool NamedPipeForm(std::string_view path) {
  if (!path.starts_with("\\\\") || Share(path).find(':') == std::string_view::npos) return false;
  const std::string_view below = path.substr(winpath::DrivePart(path).size());
  return below.starts_with('\\') && below.find('\\', 1) != std::string_view::npos &&
         below.find(':') == std::string_view::npos;
}

void CheckWithoutServer(const TDBConnectionInfo& info, const std::string& result) {
  TDBConnectionInfo bare = info;
  bare.LetteraDiscoServer.clear();
  bare.Alias.clear();
  Check(bare.GetIBFileName() == result, "without a server, disk letter and alias play no part");
  const std::string& path = info.PercorsoDatabase.empty() ? info.FileName : info.PercorsoDatabase;
  if (NamedPipeForm(path)) Check(result == path, "a named-pipe form passes through the path form unchanged");
  if (!winpath::IsUncText(path)) {
    Check(result == path, "without a server, a path form that is not UNC comes back unchanged");
    return;
  }
  Check(result.starts_with("\\\\") && Share(result).find(':') != std::string_view::npos,
        "a UNC text becomes a named-pipe form");
  Check(winpath::FileNamePart(result) == winpath::FileNamePart(path), "a UNC text keeps its file name");
}

void CheckWithServer(const TDBConnectionInfo& info, const std::string& result) {
  if (!info.Alias.empty()) {
    Check(result == info.NomeServer + ":" + info.Alias, "server and alias give server:alias");
    return;
  }
  Check(result.starts_with("\\\\" + info.NomeServer + "\\"), "a server without alias gives \\\\server\\...");
}

// The description with its disk letter and the drive letters of its paths in the other case.
TDBConnectionInfo OtherDriveCase(TDBConnectionInfo info) {
  const auto swap = [](char& c) {
    if (brontelx::ascii::IsLetter(c)) c ^= 0x20;
  };
  for (std::string* path : {&info.FileName, &info.PercorsoDatabase}) {
    if (path->size() >= 2 && (*path)[1] == ':') swap((*path)[0]);
  }
  for (char& c : info.LetteraDiscoServer) swap(c);
  return info;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string fields[5];
  std::size_t field = 0;
  for (std::size_t i = 0; i < size && field < 5; ++i) {
    if (data[i] == 0) {
      ++field;
    } else {
      fields[field] += static_cast<char>(data[i]);
    }
  }
  TDBConnectionInfo info;
  info.FileName = fields[0];
  info.NomeServer = fields[1];
  info.LetteraDiscoServer = fields[2];
  info.PercorsoDatabase = fields[3];
  info.Alias = fields[4];
  const bool incomplete = !info.NomeServer.empty() && info.Alias.empty() && info.LetteraDiscoServer.empty() &&
                          info.PercorsoDatabase.empty();
  std::string result;
  try {
    result = info.GetIBFileName();
  } catch (const brontelx::Error&) {
    Check(incomplete, "only a server with neither disk letter nor database path is an error");
    return 0;
  }
  Check(!incomplete, "a server with neither disk letter nor database path is an error");
  if (info.NomeServer.empty()) {
    CheckWithoutServer(info, result);
  } else {
    CheckWithServer(info, result);
  }
  if (NamedPipeForm(result)) Check(PathForm(result) == result, "a named-pipe form that was built is stable");
  Check(brontelx::ascii::EqualsIgnoringCase(OtherDriveCase(info).GetIBFileName(), result),
        "drive letters in the other case change the letter case of the result only");
  return 0;
}
