// What the library does when the process unloads it: the same as
// StopCollisionZEP, so nothing the host made outlives it.
#include "zepcollide.h"

#if defined(_WIN32)
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) StopCollisionZEP();
    return TRUE;
}

#else

namespace {
__attribute__((destructor)) void stopOnUnload() { StopCollisionZEP(); }
}  // namespace

#endif
