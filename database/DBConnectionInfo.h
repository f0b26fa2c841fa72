#pragma once

#include <string>

namespace brontelx {

// Where one database lives: the path the caller knows, refined by the settings of a `dati.ini`
// beside it, and the connection string the Firebird client gets from them. Empty means "not set".
struct TDBConnectionInfo {
  std::string FileName;            // the database as the client machine sees it
  std::string NomeServer;          // host of the database server
  std::string LetteraDiscoServer;  // server disk holding the data, a bare letter (E)
  std::string PercorsoDatabase;    // full database path, used instead of FileName
  std::string Alias;               // alias known to the server, used only with NomeServer

  // Replaces the four settings with the keys of `Section` in the .ini file `AFileName`; a missing
  // file, section or key clears the setting. FileName is kept.
  void LoadFromIniFile(const std::string& AFileName, const std::string& Section);

  // The connection string: host:alias, \\host\X:\path (named pipe) or a plain path. Throws
  // brontelx::Error when a server is named with neither disk letter nor database path.
  std::string GetIBFileName() const;
};


}  // namespace brontelx
