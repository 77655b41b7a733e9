// A visible window hosting the controls under test and recording the commands they send it,
// and the input and clipboard helpers of the controls tests.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

struct Host {
    struct Command {
        WORD id, code;
        HWND from;
    };
    inline static std::vector<Command> commands;
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam) {
        if (msg != WM_COMMAND) return DefWindowProcA(wnd, msg, wparam, lparam);
        return commands.push_back({LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam)}), 0;
    }
    inline static WNDCLASSA wc{0,
                               Proc,
                               0,
                               0,
                               GetModuleHandleA(nullptr),
                               nullptr,
                               nullptr,
                               (HBRUSH)(COLOR_BTNFACE + 1),
                               nullptr,
                               "ControlsTestHost"};
    inline static ATOM cls = RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, MAKEINTATOM(cls), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    Host() { commands.clear(), SetForegroundWindow(hwnd); }
    ~Host() { DestroyWindow(hwnd); }
    HWND Child(const char* cls, const char* text, DWORD style, int id, int w, int h) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }
};

// Mouse and keyboard messages as the control receives them (client coordinates).
inline void LButtonDown(HWND wnd, int x, int y) { SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
inline void MouseMove(HWND wnd, int x, int y) { SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
inline void LButtonUp(HWND wnd, int x, int y) { SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
inline void Click(HWND wnd, int x, int y) { LButtonDown(wnd, x, y), LButtonUp(wnd, x, y); }
inline void Key(HWND wnd, UINT vk, bool up = false) {
    SendMessageA(wnd, up ? WM_KEYUP : WM_KEYDOWN, vk, up ? 0xC0000001 : 1);
}
// Moves the pointer to a client point and retrieves a message there, for GetMessagePos.
inline void PointerAt(HWND wnd, int x, int y) {
    POINT pt{x, y};
    ClientToScreen(wnd, &pt), SetCursorPos(pt.x, pt.y), PostMessageA(wnd, WM_NULL, 0, 0);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&msg);
}
// Text now on the clipboard as CF_TEXT, or "<none>".
inline std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) return "<cannot open>";
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* p = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    std::string s = p ? p : "<none>";
    return data && GlobalUnlock(data), CloseClipboard(), s;
}
