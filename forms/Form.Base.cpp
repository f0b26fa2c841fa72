#include "forms/Form.Base.h"

#include <set>
#include <utility>

#include "base/Error.h"
#include "forms/descriptions/Form.Base.Description.h"

namespace brontelx {
namespace {

// `Handlers`, once it binds exactly the click handlers that the controls of `Description` name: a
// misspelt name fails the window's construction instead of its first click.
TFormBase::ClickHandlers Bound(const platform::WindowDescription& Description, TFormBase::ClickHandlers Handlers) {
  std::set<std::string> named;
  for (const platform::ControlDescription& control : Description.controls) {
    if (control.onClick.empty()) continue;
    if (!Handlers.contains(control.onClick)) {
      throw Error("Il controllo \"" + control.name + "\" chiede il gestore \"" + control.onClick +
                  "\", che la finestra non ha");
    }
    named.insert(control.onClick);
  }
  for (const auto& [name, handler] : Handlers) {
    if (!named.contains(name)) throw Error("Nessun controllo chiede il gestore \"" + name + "\"");
  }
  return Handlers;
}

}  // namespace

platform::WindowDescription TFormBase::BaseDescription() { return BaseWindowDescription(); }

TFormBase::TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers)
    : FClickHandlers(Bound(Description, std::move(Handlers))),
      FToolkit(platform::CurrentBackend()),
      FWindow(FToolkit.BuildWindow(Description, *this)) {}

TFormBase::TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers, TSessione* ASessione)
    : TFormBase(Description, std::move(Handlers)) {
  FSessione = ASessione;
}

TFormBase::TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers, std::int32_t AUtente,
                     std::int32_t AIDFinestra)
    : TFormBase(Description, std::move(Handlers)) {
  // Should a step fail, the destructor runs: the window goes, and the session with its connections.
  FSessioneOwned = std::make_unique<TSessione>();
  FSessione = FSessioneOwned.get();
  FSessione->Avvia(AUtente);
  const std::uintptr_t handle = Window().NativeHandle();
  FSessione->DRKUser().ScritturaHandleDiApertura(AIDFinestra, handle);
  FFreeOnClose = true;
}

TFormBase::~TFormBase() = default;

void TFormBase::Show() {
  CheckInitialize();
  Window().Show();
}

int TFormBase::ShowModal() {
  CheckInitialize();
  return Window().ShowModal();
}

void TFormBase::SetTitolo(const std::string& Value) {
  FTitolo = Value;
  UpdateCaption();
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
  Window().SetCaption(FTitolo + " - Utente: " + user.NomeUtente() + " - Ditta: " + user.DittaUtente());
}

void TFormBase::FormClose(platform::CloseAction& Action) {
  if (FFreeOnClose) Action = platform::CloseAction::Free;
  // Not the test Initialize reads with (not 0): a window of a negative situation restores a
  // stored placement, which another window keeps, but never writes one of its own.
  if (FSituazione > 0) {
    try {
      ScritturaPosizione(Sessione().DRKUser().CodiceUtente(), FSituazione, kCodiceProgetto, Sessione().IBDatabase());
    } catch (...) {
      // A placement that cannot be saved is not worth keeping the window open or bothering the user.
    }
  }
}

void TFormBase::OnClick(const std::string& Handler) { FClickHandlers.at(Handler)(); }

void TFormBase::OnClose(platform::CloseAction& Action) { FormClose(Action); }

void TFormBase::OnRelease() {
  // Only a window built for a host closes with Free, and its owner destroys it.
  if (FOwner) FOwner->Release(*this);
}

}  // namespace brontelx
