// A library built with the shared control sources, as the graph library is: its windows are
// created with the library's own instance.
#include <windows.h>

#include "controls/ClrText.h"
#include "controls/HyperLink.h"
#include "controls/ThisModule.h"

extern "C" __declspec(dllexport) int ProbeRegister() {
    return RegisterClrTextCtl() != 0 && RegisterHyperLinkCtl() != 0;
}

extern "C" __declspec(dllexport) HWND ProbeCreate(const char* cls, HWND parent, const char* text, int w, int h) {
    return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE, 10, 10, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(1008)), ThisModule(), nullptr);
}
