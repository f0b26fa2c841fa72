#pragma once

#include <cstdint>
#include <memory>

#include "forms/Form.Base.h"

namespace brontelx {

// Owns the windows opened for a host, per thread: each lives until its release arrives (however the
// window ended) and is then destroyed with its session. A thread's list exists while it holds
// windows; windows left open at the process's exit are not destroyed, since the toolkit may be gone
// by then.
class HostWindows final : private TFormOwner {
 public:
  static HostWindows& Instance();

  // Takes over `Form`, already shown, on the calling thread, which runs its window.
  void Adopt(std::unique_ptr<TFormBase> Form);

 private:
  HostWindows() = default;
  void Release(TFormBase& Form) noexcept override;
};

// Opens a window of class TForm for a host: builds it for user AUtente and window-log row
// AIDFinestra, shows it and hands it to HostWindows. A failure destroys the window and its session
// and propagates.
template <typename TForm>
TForm& ShowHostWindow(std::int32_t AUtente, std::int32_t AIDFinestra) {
  auto form = std::make_unique<TForm>(AUtente, AIDFinestra);
  form->Show();
  TForm& shown = *form;
  HostWindows::Instance().Adopt(std::move(form));
  return shown;
}

}  // namespace brontelx
