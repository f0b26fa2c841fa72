/* The library's whole interface to a host program. Each Show function opens one modeless window
 * of the library for user AUtente (UTENTI.CODICE) on the calling thread, the host's user-interface
 * thread, which must run the host's event loop, and records the window's handle in the window-log
 * row AIDFinestra (TELVILOGFUNZ.IDFINESTRA). The library keeps the window: it is destroyed with
 * its session when the user closes it.
 *
 * Returns 0 while the window stays open, -1 when it could not be opened (no window is left). The
 * reason is then available from GetUltimoErroreX on the same thread. */
#ifndef BRONTELX_H
#define BRONTELX_H

#include <stdint.h>

#if defined(_WIN32) && !defined(_WIN64)
#define BRONTELX_STDCALL __stdcall
#else
#define BRONTELX_STDCALL
#endif

#if defined(_WIN32)
#define BRONTELX_API
#else
#define BRONTELX_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* The settings window: where the delivery-note database lives. */
BRONTELX_API int32_t BRONTELX_STDCALL ShowVelDatiValidazPersFormX(int32_t AUtente, int32_t AIDFinestra);

/* The test window: runs the delivery-note validation by hand. */
BRONTELX_API int32_t BRONTELX_STDCALL ShowVelCollaudiPersFormX(int32_t AUtente, int32_t AIDFinestra);

/* Copies the message of the last failed call of this thread (empty after a call that succeeded)
 * into buffer as UTF-8, truncated to at most size - 1 bytes without splitting a character, and
 * terminated by NUL. Returns the message's full length in bytes, so a host can ask with size 0
 * (buffer may then be null) and call again with a buffer large enough. */
BRONTELX_API int32_t BRONTELX_STDCALL GetUltimoErroreX(char* buffer, int32_t size);

#ifdef __cplusplus
}
#endif

#endif
