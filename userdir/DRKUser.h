#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "database/DBConnectionInfo.h"

namespace brontelx {

// The user directory (user/user.fdb beside the host executable): the current user's record, the
// host's window log, and the user's parameters per company with their rebuilt text block.
// Every operation runs its own statement in its own transaction and ends both before returning.
class TDRKUser {
 public:
  // The longest parameter value, in characters, that the rebuilt parameter block carries: a
  // longer one fails the rebuild.
  static constexpr std::size_t kQuadrelValueCharacters = 256;

  TDRKUser();
  TDRKUser(const TDRKUser&) = delete;
  TDRKUser& operator=(const TDRKUser&) = delete;

  std::int32_t CodiceUtente() const { return FCodiceUtente; }
  const std::string& NomeUtente() const { return FNomeUtente; }
  // Also the section under which the parameters are read and written; assigning it reloads nothing.
  const std::string& DittaUtente() const { return FDittaUtente; }
  void SetDittaUtente(const std::string& Value) { FDittaUtente = Value; }
  db::Connection& DBUser() const { return *FDBUser; }
  const std::string& Info2() const { return FInfo2; }
  std::int16_t ProfiloSicurezza() const { return FProfiloSicurezza; }

  // The user directory's file: user/user.fdb (user\user.fdb on Windows) in the folder of the
  // running executable (the host), not of the library.
  static std::string DefaultFileName();

  // Opens DefaultFileName().
  void ConnettiDB();
  void ConnettiDB(const std::string& FileName);
  void ConnettiDB(const TDBConnectionInfo& DBConnectionInfo);

  // Loads user `Valore`, or raises "Utente <code> non trovato" and keeps the previous user.
  void SetCodiceUtente(std::int32_t Valore);
  // Raises "Password errata" unless `Valore` equals the stored password exactly.
  void CheckPassword(const std::string& Valore) const;
  // Passes when user `AUtente` has parameter rows under company `ADitta`.
  void CheckUtenteDitta(std::int32_t AUtente, const std::string& ADitta);
  // Writes a window handle into the window log row `IdFinestra`; a missing row changes nothing.
  void ScritturaHandleDiApertura(std::int32_t IdFinestra, std::uintptr_t Handle);

  // The loaded user's parameter `Nome` under the current company, or empty text.
  std::string GetParamQuadrel(const std::string& Nome);
  // Creates or replaces parameter `ANome`, commits it, and rebuilds the block unless a batch is open.
  void SetParamQuadrel(const std::string& ANome, const std::string& AValore);
  // A batch defers the rebuild of the block to EndUpdate; rows are still committed one by one.
  void BeginUpdate() { FUpdating = true; }
  void EndUpdate();

 private:
  void RicostruisciQuadrel();

  std::int32_t FCodiceUtente = 0;
  std::string FNomeUtente;
  std::string FDittaUtente;
  std::string FPasswordUtente;
  std::unique_ptr<db::Connection> FDBUser;
  bool FUpdating = false;
  std::string FInfo2;
  std::int16_t FProfiloSicurezza = 0;
};

}  // namespace brontelx
