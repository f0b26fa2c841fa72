#include "database/DBConnectionInfo.h"

#include "base/Error.h"
#include "base/ProfileReader.h"
#include "base/Utf8Path.h"
#include "base/WinPath.h"

namespace brontelx {

using namespace winpath;

void TDBConnectionInfo::LoadFromIniFile(const std::string& AFileName, const std::string& Section) {
  const std::filesystem::path file = PathFromUtf8(AFileName);
  NomeServer = ReadProfileString(file, Section, "Nome Server");
  PercorsoDatabase = ReadProfileString(file, Section, "PercorsoDatabase");
  LetteraDiscoServer = ReadProfileString(file, Section, "Lettera Disco Server");
  Alias = ReadProfileString(file, Section, "Alias");
}

std::string TDBConnectionInfo::GetIBFileName() const {
  if (!NomeServer.empty() && !Alias.empty()) return NomeServer + ":" + Alias;

  if (!NomeServer.empty()) {
    // The server publishes each disk as a share named after its letter, so the folders below a
    // client's share or drive are the folders below the server disk.
    std::string drive;
    if (!LetteraDiscoServer.empty()) {
      drive = LetteraDiscoServer + ":";
    } else if (PercorsoDatabase.empty()) {
      throw Error(R"(Riferimenti file .ini incompleti (specificare "Lettera Disco Server" o "PercorsoDatabase"))");
    } else {
      drive = DrivePart(PercorsoDatabase);
    }
    const std::string server = "\\\\" + NomeServer + "\\" + WithDelimiter(drive);
    if (!PercorsoDatabase.empty()) return server + Rel(drive, PercorsoDatabase);
    const std::string folder = FolderPart(FileName);
    const std::string serverFolder = IsUncText(FileName) ? Rel(DrivePart(folder), folder) : Rel(drive, folder);
    return server + WithDelimiter(serverFolder) + FileNamePart(FileName);
  }

  const std::string& path = PercorsoDatabase.empty() ? FileName : PercorsoDatabase;
  if (!IsUncText(path)) return path;
  // \\host\share\... becomes the named-pipe form \\host\share:\..., the share being the drive letter.
  const std::string hostShare = DrivePart(path).substr(2);
  const std::size_t slash = hostShare.find('\\');
  const std::string host = slash == std::string::npos ? std::string() : hostShare.substr(0, slash);
  std::string share = slash == std::string::npos ? hostShare : hostShare.substr(slash + 1);
  if (share.find(':') == std::string::npos) {
    if (share.ends_with('\\')) share.pop_back();
    share += ':';
  }
  const std::string folder = FolderPart(path);
  return "\\\\" + host + "\\" + WithDelimiter(share) + WithDelimiter(Rel(DrivePart(folder), folder)) +
         FileNamePart(path);
}

}  // namespace brontelx
