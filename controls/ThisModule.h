// The module this code is linked into: the program, or the graph library's own copy.
#pragma once
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// Classes are registered for the module whose code serves them, so that windows created
// with that module's instance (such as the controls of a dialog template in a library)
// find them; in the program this is the main module.
inline HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }
