// A DLL that opens the library's two windows exactly as described, for the Windows test host: the
// host's calls by name and by ordinal, its screenshots and control lists are exercised on real
// windows of the Win32 backend. Its entries have the shape of the library's: stdcall, a user code
// and a window-log id, 0 for an open window and -1 for a failure. Each window frees itself when
// closed; Chiudi closes it.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "forms/descriptions/VelCollaudiPersonalizzazioni.Description.h"
#include "forms/descriptions/VelDatiValidazPers.Description.h"
#include "platform/win32/Win32Backend.h"

namespace {

using namespace brontelx::platform;

win32::Win32Backend toolkit;

class DescribedWindow final : private WindowEvents {
 public:
  static std::int32_t Open(const WindowDescription& description) noexcept {
    try {
      auto opened = std::unique_ptr<DescribedWindow>(new DescribedWindow(description));
      opened->window_->Show();
      opened.release();
      return 0;
    } catch (...) {
      return -1;
    }
  }

 private:
  explicit DescribedWindow(const WindowDescription& description) : window_(toolkit.BuildWindow(description, *this)) {}

  void OnClick(const std::string& handler) override {
    if (handler == brontelx::velcollaudi::kButtonChiudiClick || handler == brontelx::veldati::kButtonChiudiClick) {
      window_->Close();
    }
  }
  void OnClose(CloseAction& action) override { action = CloseAction::Free; }
  void OnRelease() override { delete this; }

  std::unique_ptr<Window> window_;
};

}  // namespace

extern "C" {

std::int32_t WINAPI OpenSettingsWindow(std::int32_t, std::int32_t) {
  return DescribedWindow::Open(brontelx::VelDatiValidazPersDescription());
}

std::int32_t WINAPI OpenTestWindow(std::int32_t, std::int32_t) {
  return DescribedWindow::Open(brontelx::VelCollaudiPersonalizzazioniDescription());
}

}
