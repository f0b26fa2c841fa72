// The exported entry points. No exception crosses into the host: a failure becomes -1 and the
// message that GetUltimoErroreX hands out, recorded without anything that could throw again.
#include "library/BrontelX.h"

#include <exception>

#include "forms/VelCollaudiPersonalizzazioni.Form.h"
#include "forms/VelDatiValidazPers.Form.h"
#include "library/HostWindows.h"
#include "library/LastError.h"
#ifdef _WIN32
#include "platform/win32/Win32Backend.h"
#else
#include "library/ModulePin.h"
#include "platform/qt/QtBackend.h"
#endif

namespace brontelx {
namespace {

// The toolkit the library's windows are built with: Win32 in the DLL, Qt on Linux.
platform::Backend& Toolkit() {
#ifdef _WIN32
  static platform::win32::Win32Backend backend;
#else
  static platform::qt::QtBackend backend;
#endif
  return backend;
}

template <typename TForm>
std::int32_t ShowForHost(std::int32_t AUtente, std::int32_t AIDFinestra) noexcept {
  try {
    ClearLastError();
    platform::UseBackend(&Toolkit());
    ShowHostWindow<TForm>(AUtente, AIDFinestra);
#ifndef _WIN32
    PinModule();
#endif
    return 0;
  } catch (const std::exception& e) {
    RecordLastError(e.what());
  } catch (...) {
    RecordLastError("Errore sconosciuto");
  }
  return -1;
}

}  // namespace
}  // namespace brontelx

extern "C" {

int32_t BRONTELX_STDCALL ShowVelDatiValidazPersFormX(int32_t AUtente, int32_t AIDFinestra) {
  return brontelx::ShowForHost<brontelx::TVelDatiValidazPersForm>(AUtente, AIDFinestra);
}

int32_t BRONTELX_STDCALL ShowVelCollaudiPersFormX(int32_t AUtente, int32_t AIDFinestra) {
  return brontelx::ShowForHost<brontelx::TVelCollaudiPersonalizzazioniForm>(AUtente, AIDFinestra);
}

int32_t BRONTELX_STDCALL GetUltimoErroreX(char* buffer, int32_t size) {
  return brontelx::CopyLastError(buffer, size);
}

}  // extern "C"
