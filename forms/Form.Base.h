#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "database/Connection.h"
#include "platform/Backend.h"
#include "platform/Window.h"
#include "session/BrontelX.Classes.h"

namespace brontelx {

class TFormBase;

// Holds windows built for a host and destroys each once it has ended.
class TFormOwner {
 public:
  // `Form`'s window has ended: the owner destroys the form now. Called from the event loop, outside
  // every handler of the window.
  virtual void Release(TFormBase& Form) noexcept = 0;

 protected:
  ~TFormOwner() = default;
};

// The base of the library's windows: a session (its own or one lent by the caller), a caption of
// the window's title with the user's name and company, a one-time initialisation before the first
// showing, and a placement remembered per user and kind of window in STOPOS1 of the archive.
//
// A derived window passes its window description and its click handlers to one of the three
// constructors, and overrides Initialize: set FTitolo and FSituazione, call TFormBase::Initialize,
// then fill its controls.
class TFormBase : private platform::WindowEvents {
 public:
  // The project code under which the placements of this library's windows are stored.
  static constexpr std::int32_t kCodiceProgetto = 541;

  // The handlers of clicks, by the handler names that the window description gives its controls.
  using ClickHandlers = std::map<std::string, std::function<void()>>;

  // Each constructor first checks that `Handlers` binds exactly the handlers that the controls of
  // `Description` name, and raises the general error otherwise.

  // A window without a session, held by whoever creates it; closing hides it.
  explicit TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers = {});
  // A window working with the caller's session, which must outlive it; closing hides it.
  TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers, TSessione* ASessione);
  // The window of a host: starts a session of its own for user `AUtente` and records the window's
  // handle in the window-log row `AIDFinestra`; however the window ends, its owner (SetOwner) is
  // told to destroy it with its session. On failure nothing of it remains and the error propagates.
  TFormBase(const platform::WindowDescription& Description, ClickHandlers Handlers, std::int32_t AUtente,
            std::int32_t AIDFinestra);
  virtual ~TFormBase();
  TFormBase(const TFormBase&) = delete;
  TFormBase& operator=(const TFormBase&) = delete;

  // The look every window starts from.
  static platform::WindowDescription BaseDescription();

  // Initialises the window once (again after a failed attempt), then shows it. A failure
  // propagates and leaves the window hidden.
  void Show();
  int ShowModal();

  std::int32_t Situazione() const { return FSituazione; }
  void SetSituazione(std::int32_t Value) { FSituazione = Value; }
  const std::string& Titolo() const { return FTitolo; }
  void SetTitolo(const std::string& Value);

  // The window. Once a host has destroyed the native window, its calls raise WindowError.
  platform::Window& Window() const { return *FWindow; }
  // The window's session; raises the general error for a window built without one.
  TSessione& Sessione() const;

  // The owner of a window built for a host, which destroys it once it has ended.
  void SetOwner(TFormOwner* Value) { FOwner = Value; }

 protected:
  virtual void Initialize();
  // The toolkit that built the window.
  platform::Backend& Toolkit() const { return FToolkit; }
  // Applies the placement stored for the user, situation and project in STOPOS1 of ADatabase, if any.
  void LetturaPosizione(std::int32_t AUtente, std::int32_t ASituazione, std::int32_t AProgetto,
                        db::Connection& ADatabase);
  // Stores the window's placement there unless the stored one is the same.
  void ScritturaPosizione(std::int32_t AUtente, std::int32_t ASituazione, std::int32_t AProgetto,
                          db::Connection& ADatabase);

  TSessione* FSessione = nullptr;
  bool FFreeOnClose = false;
  std::int32_t FSituazione = 0;
  std::string FTitolo;
  bool FFlagInitialize = false;

 private:
  void CheckInitialize();
  void UpdateCaption();
  void FormClose(platform::CloseAction& Action);

  void OnClick(const std::string& Handler) override;
  void OnClose(platform::CloseAction& Action) override;
  void OnRelease() override;

  TFormOwner* FOwner = nullptr;
  // The window is declared last, so it is destroyed first: before the handlers its controls call
  // and the session its close used. A derived window's members are gone by then; the window calls
  // no handler while its owner destroys it.
  std::unique_ptr<TSessione> FSessioneOwned;
  ClickHandlers FClickHandlers;
  platform::Backend& FToolkit;
  std::unique_ptr<platform::Window> FWindow;
};

}  // namespace brontelx
