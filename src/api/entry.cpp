// What the library does when the process unloads it: the same as
// StopCollisionZEP, so nothing the host made outlives it.
#include "api/state.h"
#include "pass/pass_work.h"
#include "zepcollide.h"

#if defined(_WIN32)
#include <windows.h>

// Under the loader's lock nothing may be waited for. A pass's threads each
// hold a reference to this DLL, so it is unloaded here only when they have
// ended, or when the process ends, which has stopped them already.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) {
        zep::abandonPassThreads(zep::passWork());
        StopCollisionZEP();
    }
    return TRUE;
}

#else

namespace {
__attribute__((destructor)) void stopOnUnload() { StopCollisionZEP(); }
}  // namespace

#endif
