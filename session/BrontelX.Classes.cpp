#include "session/BrontelX.Classes.h"

#include <exception>

#include "base/Error.h"
#include "database/DRKDBUtility.h"

namespace brontelx {

std::string TParametri::GetArchivio() const { return FDRKUser->GetParamQuadrel("Archivio"); }

std::string TParametri::GetBinDir() const { return FDRKUser->GetParamQuadrel("Directory bin"); }

TSessione::TSessione()
    : FIBDatabase(std::make_unique<db::Connection>()),
      FDRKUser(std::make_unique<TDRKUser>()),
      FDRKTabX(std::make_unique<TDRKTabX>()),
      FParametri(std::make_unique<TParametri>()) {
  FDRKTabX->SetDatabase(FIBDatabase.get());
  FParametri->SetDRKUser(FDRKUser.get());
  FParametri->SetDRKTabX(FDRKTabX.get());
}

void TSessione::Avvia(std::int32_t AUtente) {
  FDRKUser->ConnettiDB();
  FDRKUser->SetCodiceUtente(AUtente);
  CheckIBDatabase();
}

void TSessione::CheckIBDatabase() {
  if (FIBDatabase->Connected()) return;
  const std::string archivio = FParametri->Archivio();
  if (archivio.empty()) throw Error("Parametro \"Archivio\" mancante o non configurato nel Quadrel dell'utente");
  try {
    OpenIBDatabase(*FIBDatabase, archivio);
  } catch (const std::exception& e) {
    // Only the message goes on: the caller sees one error saying which archive failed and why.
    throw Error("Fallita connessione all'archivio \"" + archivio + "\"\r\n" + e.what());
  }
}

}  // namespace brontelx
