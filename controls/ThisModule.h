// The module this code is linked into: the program, or the graph library's own copy.
#pragma once
#include <windows.h>

extern "C" IMAGE_DOS_HEADER __ImageBase;

// Classes are registered for the module whose code serves them, so that windows created
// with that module's instance (such as the controls of a dialog template in a library)
// find them; in the program this is the main module.
inline HINSTANCE ThisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// A control class of this module served by `proc`.
inline ATOM RegisterControlClass(const char* name, WNDPROC proc) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = ThisModule();
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

// A control's state lives on the process heap, bound to its user-data slot from WM_CREATE on.
template <class S>
S* NewWindowState(HWND wnd) {
    auto* st = static_cast<S*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(S)));
    if (st) SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(st));
    return st;
}

template <class S>
S* WindowState(HWND wnd) {
    return reinterpret_cast<S*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

inline void FreeWindowState(HWND wnd, void* st) {
    SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
    HeapFree(GetProcessHeap(), 0, st);
}
