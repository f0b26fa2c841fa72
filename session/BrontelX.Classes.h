#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "userdir/DRKTabX.h"
#include "userdir/DRKUser.h"

namespace brontelx {

// Selected parameters of the current user, read afresh from the user directory on every access.
class TParametri {
 public:
  TDRKUser* DRKUser() const { return FDRKUser; }
  void SetDRKUser(TDRKUser* Value) { FDRKUser = Value; }
  TDRKTabX* DRKTabX() const { return FDRKTabX; }
  void SetDRKTabX(TDRKTabX* Value) { FDRKTabX = Value; }

  // The company archive's database file name ("Archivio").
  std::string Archivio() const { return GetArchivio(); }
  // The "Directory bin" parameter.
  std::string BinDir() const { return GetBinDir(); }

 private:
  std::string GetArchivio() const;
  std::string GetBinDir() const;

  TDRKUser* FDRKUser = nullptr;  // not owned
  TDRKTabX* FDRKTabX = nullptr;  // not owned
};

// The data connections of one window: the user directory with the current user, the company
// archive named by the user's "Archivio" parameter, its named values and the parameter accessor.
// Constructing a session touches no database; Avvia connects it.
class TSessione {
 public:
  TSessione();
  TSessione(const TSessione&) = delete;
  TSessione& operator=(const TSessione&) = delete;

  TDRKUser& DRKUser() const { return *FDRKUser; }
  TDRKTabX& DRKTabX() const { return *FDRKTabX; }
  TParametri& Parametri() const { return *FParametri; }
  db::Connection& IBDatabase() const { return *FIBDatabase; }

  // Connects the user directory, loads user `AUtente` and connects the archive, stopping at the
  // first failure. On a started session it reconnects the user directory and keeps the archive.
  void Avvia(std::int32_t AUtente);
  // Opens the archive from the user's "Archivio" parameter unless it is connected already.
  void CheckIBDatabase();

 private:
  // The archive connection is declared first so that it outlives the named-value object that
  // works on it.
  std::unique_ptr<db::Connection> FIBDatabase;
  std::unique_ptr<TDRKUser> FDRKUser;
  std::unique_ptr<TDRKTabX> FDRKTabX;
  std::unique_ptr<TParametri> FParametri;
};

}  // namespace brontelx
