#include "vexplot/internal.h"

HINSTANCE hInstDll = NULL;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/)
{
    if (reason == DLL_PROCESS_ATTACH)
        hInstDll = instance;
    return TRUE;
}
