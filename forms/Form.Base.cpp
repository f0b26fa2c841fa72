#include "Form.Base.h"

#include "Error.h"
#include "Form.Base.Description.h"

namespace brontelx {

platform::WindowDescription TFormBase::BaseDescription() { return BaseWindowDescription(); }

TFormBase::TFormBase(const platform::WindowDescription& Description)
    : FToolkit(platform::CurrentBackend()), FWindow(FToolkit.BuildWindow(Description, *this)) {}

TFormBase::TFormBase(const platform::WindowDescription& Description, TSessione* ASessione) : TFormBase(Description) {
  FSessione = ASessione;
}

TFormBase::TFormBase(const platform::WindowDescription& Description, std::int32_t AUtente, std::int32_t AIDFinestra)
    : TFormBase(Description) {
  // Should a step fail, the destructor runs: the window goes, and the session with its connections.
  FSessioneOwned = std::make_unique<TSessione>();
  FSessione = FSessioneOwned.get();
  FSessione->Avvia(AUtente);
  const std::uintptr_t handle = FWindow->NativeHandle();
  FSessione->DRKUser().ScritturaHandleDiApertura(AIDFinestra, handle);
  FFreeOnClose = true;
}

TFormBase::~TFormBase() = default;

void TFormBase::Show() {
  CheckInitialize();
  FWindow->Show();
}

int TFormBase::ShowModal() {
  CheckInitialize();
  return FWindow->ShowModal();
}

void TFormBase::SetTitolo(const std::string& Value) {
  FTitolo = Value;
  UpdateCaption();
}

void TFormBase::SetClickHandler(const std::string& Name, std::function<void()> Handler) {
  FClickHandlers[Name] = std::move(Handler);
}

void TFormBase::CheckInitialize() {
  if (FFlagInitialize) return;
  Initialize();
  FFlagInitialize = true;
}

void TFormBase::Initialize() {
  UpdateCaption();
  if (FSituazione != 0) {
    LetturaPosizione(Sessione().DRKUser().CodiceUtente(), FSituazione, kCodiceProgetto, Sessione().IBDatabase());
  }
}

TSessione& TFormBase::Sessione() const {
  if (!FSessione) throw Error("La finestra non ha una sessione");
  return *FSessione;
}

void TFormBase::UpdateCaption() {
  if (FTitolo.empty()) return;
  const TDRKUser& user = Sessione().DRKUser();
  FWindow->SetCaption(FTitolo + " - Utente: " + user.NomeUtente() + " - Ditta: " + user.DittaUtente());
}

void TFormBase::FormClose(platform::CloseAction& Action) {
  if (FFreeOnClose) Action = platform::CloseAction::Free;
  if (FSituazione > 0) {
    try {
      ScritturaPosizione(Sessione().DRKUser().CodiceUtente(), FSituazione, kCodiceProgetto, Sessione().IBDatabase());
    } catch (...) {
      // A placement that cannot be saved is not worth keeping the window open or bothering the user.
    }
  }
}

void TFormBase::OnClick(const std::string& Handler) {
  const auto handler = FClickHandlers.find(Handler);
  if (handler == FClickHandlers.end()) throw Error("Nessun gestore \"" + Handler + "\" per il clic");
  handler->second();
}

void TFormBase::OnClose(platform::CloseAction& Action) { FormClose(Action); }

void TFormBase::OnRelease() {
  // Only a window built for a host closes with Free; ShowHostWindow handed it over to itself.
  delete this;
}

}  // namespace brontelx
