/* fbclient.dll for Wine: a Winelib DLL that gives 32-bit Windows programs running under Wine the
 * Firebird client's one entry point by forwarding it to the 32-bit Linux client (libfbclient2:i386).
 * The client's interfaces use cdecl on 32-bit Windows and Linux alike, so the master interface the
 * Linux client returns serves Windows code as it is. Build: winegcc -m32 -shared fbclient.spec
 * fbclient.c -ldl; install the result as fbclient.dll beside the program. */
#include <dlfcn.h>
#include <stddef.h>

#include <windef.h>

typedef void* (*GetMaster)(void);

void* WINAPI fb_get_master_interface(void) {
  static GetMaster entry;
  if (!entry) {
    void* client = dlopen("libfbclient.so.2", RTLD_NOW | RTLD_GLOBAL);
    if (!client) return NULL;
    entry = (GetMaster)dlsym(client, "fb_get_master_interface");
    if (!entry) return NULL;
  }
  return entry();
}
