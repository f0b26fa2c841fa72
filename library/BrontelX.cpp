// The exported entry points. No exception crosses into the host: a failure becomes -1 and the
// message that GetUltimoErroreX hands out, recorded without anything that could throw again.
#include "BrontelX.h"

#include <exception>

#include "LastError.h"
#include "VelCollaudiPersonalizzazioni.Form.h"
#include "VelDatiValidazPers.Form.h"

namespace brontelx {
namespace {

template <typename TForm>
std::int32_t ShowForHost(std::int32_t AUtente, std::int32_t AIDFinestra) noexcept {
  try {
    ClearLastError();
    ShowHostWindow<TForm>(AUtente, AIDFinestra);
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
